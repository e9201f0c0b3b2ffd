// One measurement item of a grading run: the item's name (the header text
// of its column in the body-measurement table) and one value per person,
// in row order.
#pragma once

#include <string>
#include <vector>

class CMeasureColumn {
public:
    CMeasureColumn() = default;
    // n values, all 0.
    explicit CMeasureColumn(int count);
    virtual ~CMeasureColumn() = default;

    CMeasureColumn(const CMeasureColumn&) = default;
    CMeasureColumn& operator=(const CMeasureColumn&) = default;

    int GetCount() const { return int(m_values.size()); }
    // GBK bytes.
    void SetName(const std::string& name) { m_name = name; }
    std::string GetName() const { return m_name; }
    const std::string& Name() const { return m_name; }

    // 0-based; an index outside the column is not written and reads 0.
    void SetValue(int i, double v);
    double GetValue(int i) const;

private:
    std::string m_name;
    std::vector<double> m_values;
};
