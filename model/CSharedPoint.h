// A control point in a page's pool that curve nodes refer to, so that
// moving it moves every curve through it. A point may instead be the
// mirror image of another point across the line through two axis points:
// it then follows its source, and dragging it moves the source.
//
// The original program can leave a mirrored point behind whose source or
// axis point it deleted. Such a point is read as a missing link: it stays
// where it is (a record holds no place for a mirrored point, so a loaded
// one stands at the origin) and behaves as a plain point, but it keeps
// what the record said and writes it back unchanged. An axis whose two
// points coincide reflects nothing: the point keeps the place it has.
#pragma once

#include "platform/CFixedPool.h"
#include "platform/Types.h"

#include <memory>

class CArchive;
class CPage;

class CSharedPoint {
public:
    // A plain point at (0, 0) until a record or a copy sets it.
    explicit CSharedPoint(CPage* owner);
    CSharedPoint(CPage* owner, int x, int y);
    CSharedPoint(CPage* owner, CSharedPoint* source, CSharedPoint* axis1, CSharedPoint* axis2);

    CSharedPoint(const CSharedPoint&) = delete;
    CSharedPoint& operator=(const CSharedPoint&) = delete;

    // The point's place; a mirrored point recomputes its cached reflection
    // when it is dirty.
    CPoint GetPosition() const;
    // Moves a plain point; a mirrored point moves the root of its chain to
    // the reflection of (x, y). A nonzero notify marks the elements using
    // the moved point dirty.
    void MoveTo(int x, int y, int notify);

    BOOL IsMirrored() const { return Source() != nullptr; }
    // A mirrored record whose source or axis point numbers name no point.
    BOOL HasMissingLink() const { return m_links && m_links->missing; }
    void GetMirror(CSharedPoint*& source, CSharedPoint*& axis1, CSharedPoint*& axis2) const;
    CSharedPoint* GetMirrorSource() const { return Source(); }
    void GetMirrorAxis(CSharedPoint*& axis1, CSharedPoint*& axis2) const;
    // Does not mark the position dirty.
    void SetMirror(CSharedPoint* source, CSharedPoint* axis1, CSharedPoint* axis2);
    void InvalidatePosition() const { m_positionDirty = 1; }

    // 1 when `point` is this point's source or one of its axis points,
    // also the ones a point with a missing link still names.
    int DependsOn(const CSharedPoint* point) const;

    CPage* GetLayer() const { return m_owner; }
    void SetLayer(CPage* page) { m_owner = page; }

    // Record inside the page record, read at the page set's version.
    int Load(CArchive& ar);
    int Store(CArchive& ar) const;
    // Turns the stored point numbers into points of the owner page. When a
    // number names no point (-1 or beyond the pool) the point has a missing
    // link. Returns 1.
    int ResolveLinks();
    // Takes over another point's definition: its position, and when it is
    // mirrored its page's numbers of source and axis points (the page then
    // resolves them against its own pool).
    void CopyDefinition(const CSharedPoint& other);

    // The point's position in its page's pool, which the page keeps up to
    // date; -1 before the point is pooled.
    int GetNumber() const { return m_number; }
    void SetNumber(int number) { m_number = number; }

    VEK_POOLED_CLASS(CSharedPoint)

private:
    // What only mirrored points need, and the point numbers of a record or
    // a copy until they are resolved: most points are plain, so it is kept
    // apart and the point itself stays small.
    struct Links {
        CSharedPoint* source = nullptr;
        CSharedPoint* axis1 = nullptr;
        CSharedPoint* axis2 = nullptr;
        int linkAxis1 = -1;
        int linkAxis2 = -1;
        int linkSource = -1;
        // The numbers came from a mirrored record (or its copy).
        bool mirroredRecord = false;
        // Some number named no point: the pointers above hold the points
        // that were named, Source() answers null, and the record is written
        // back as it was read.
        bool missing = false;
    };

    // The number to write for one link of a point with a missing link.
    int StoredLinkNumber(const CSharedPoint* linked, int number) const;

    void SetPlainPosition(int x, int y, int notify);
    CSharedPoint* Source() const { return m_links && !m_links->missing ? m_links->source : nullptr; }
    Links& MakeLinks();

    CPage* m_owner;
    mutable CPoint m_position;
    std::unique_ptr<Links> m_links;
    int m_number = -1;
    mutable bool m_positionDirty = true;
    // Set while a position is being computed, so a mirror cycle made at
    // run time ends instead of looping.
    mutable bool m_evaluating = false;
};
