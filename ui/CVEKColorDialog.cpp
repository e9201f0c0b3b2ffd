#include "ui/CVEKColorDialog.h"

CVEKColorDialog::CVEKColorDialog(COLORREF initial, DWORD flags, QWidget* parent)
    : QColorDialog(ToQColor(initial), parent), m_initial(initial), m_color(initial)
{
    // The platform's own dialog cannot be driven or styled like the rest of
    // the program; Qt's is the same everywhere.
    setOption(QColorDialog::DontUseNativeDialog);
}

int CVEKColorDialog::DoModal()
{
    m_color = m_initial;
    setCurrentColor(ToQColor(m_initial));
    if (exec() != QDialog::Accepted) return IDCANCEL;
    m_color = FromQColor(selectedColor());
    return IDOK;
}

QColor CVEKColorDialog::ToQColor(COLORREF color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

COLORREF CVEKColorDialog::FromQColor(const QColor& color)
{
    return COLORREF(color.red()) | (COLORREF(color.green()) << 8) | (COLORREF(color.blue()) << 16);
}
