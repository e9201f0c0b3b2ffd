// The program's string table: every message, title and prompt by its
// resource number, in Chinese as the users know them.
#pragma once

#include <QString>

// The text of string `id`, or an empty string when there is none.
QString LoadResString(int id);

// Resource numbers used by name in the code.
namespace Ids {
constexpr int IDS_APP_TITLE = 36000;
constexpr int IDS_SAVE_TO_ARCHIVE_DIR = 36019;
constexpr int IDS_BAD_FILE = 36058;
constexpr int IDS_NOT_HPGL = 36065;
constexpr int IDS_CANNOT_OPEN = 36066;
constexpr int IDS_HPGL_NOTHING_DRAWN = 36150;
constexpr int IDS_HPGL_TOO_MUCH = 36151;
constexpr int IDS_HPGL_TOO_LARGE = 36152;
} // namespace Ids
