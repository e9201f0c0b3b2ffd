// A list of named colours: each item shows a swatch of its colour and its
// name. The records belong to the owner of the list; an item refers to
// its record, so a changed colour shows as soon as the item is repainted.
#pragma once

#include "platform/Types.h"

#include <QListWidget>
#include <QString>

struct CColorSample {
    COLORREF colour = 0;
    QString name;
};

class CColorSampleList : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 20;

    explicit CColorSampleList(QWidget* parent = nullptr);

    void AddSample(CColorSample* sample);
    CColorSample* Sample(int index) const;
};
