// One size group of a grading run: the graded values of the basis items
// that make the size (its keys, in basis order), the number of persons in
// the group, and the group's further measurement values, first summed over
// its persons and then averaged.
//
// Comparisons are exact comparisons of doubles: persons belong to one size
// only when every graded value is the same number. Groups are ordered by
// their first key alone.
#pragma once

#include <vector>

class CDoubleArrayRecord {
public:
    CDoubleArrayRecord() = default;
    // The counts set; keys and values 0.
    CDoubleArrayRecord(int keyCount, int persons, int valueCount);
    virtual ~CDoubleArrayRecord() = default;

    CDoubleArrayRecord(const CDoubleArrayRecord&) = default;
    CDoubleArrayRecord& operator=(const CDoubleArrayRecord&) = default;

    int GetKeyCount() const { return int(m_keys.size()); }
    int GetValueCount() const { return int(m_values.size()); }
    void SetPersons(int persons) { m_persons = persons; }
    int GetPersons() const { return m_persons; }

    // 0-based; an index outside the array is not written and reads 0.
    void SetKey(int i, double v);
    double GetKey(int i) const;
    void SetValue(int i, double v);
    double GetValue(int i) const;

    // True when each of this record's keys equals the other's key at the
    // same place; a key the other record does not have never matches.
    bool HasEqualKeys(const CDoubleArrayRecord& other) const;
    // keys[0] > other.keys[0]; false when either has no key.
    bool IsFirstKeyGreater(const CDoubleArrayRecord& other) const;
    // Adds the other's values place by place, as far as both have values.
    CDoubleArrayRecord& AddValues(const CDoubleArrayRecord& other);
    // Divides every value by the persons; a group of no persons keeps its
    // values (there is nothing to average).
    void AverageValues();

private:
    std::vector<double> m_keys;
    int m_persons = 0;
    std::vector<double> m_values;
};
