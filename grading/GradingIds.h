// String-table numbers of the grading workflow.
#pragma once

constexpr int IDS_APP_TITLE_GRADING = 36000;
constexpr int IDS_EXCEL_FILTER = 32880;
constexpr int IDS_NO_BASIS_ITEMS = 36067;
constexpr int IDS_NO_SIZE_ITEMS = 36074;
constexpr int IDS_PERSONS_BELOW_ONE = 36075;
constexpr int IDS_ENTER_A = 36076;
constexpr int IDS_ENTER = 36077;
constexpr int IDS_INTERVAL = 36078;
constexpr int IDS_ENTER_POSITIVE = 36079;
constexpr int IDS_SIZE_SUFFIX = 36080;
constexpr int IDS_PERSONS_COLUMN = 36081;
constexpr int IDS_BODY_TABLE_TITLE = 36082;
constexpr int IDS_ONE_PAGE_LABEL = 36083;
constexpr int IDS_GRADED_TABLE_TITLE = 36084;
constexpr int IDS_UNIT_CAPTION = 36085;
constexpr int IDS_UNIT_INCH = 36086;
constexpr int IDS_UNIT_CM = 36087;
constexpr int IDS_UNIT_MM = 36088;
constexpr int IDS_SPECIAL_TABLE_TITLE = 36089;
constexpr int IDS_PERSONAL_TABLE_TITLE = 36090;
constexpr int IDS_START_NUMBER = 36091;
constexpr int IDS_SERIAL_COLUMN = 36092;
constexpr int IDS_STYLE_SIZE_COLUMN = 36093;
constexpr int IDS_NO_GRADING_ITEMS = 36094;

// Messages the grading workflow adds to the program's own.
constexpr int IDS_WORKBOOK_UNREADABLE = 36220;
constexpr int IDS_ENTER_NUMBER = 36221;
constexpr int IDS_BLANK_ROWS_SKIPPED = 36222;
constexpr int IDS_ITEM_NOT_IN_TABLE = 36223;
constexpr int IDS_ITEM_REPEATED = 36224;
constexpr int IDS_NO_PERSONS = 36225;
constexpr int IDS_NO_BODY_TABLE = 36226;
constexpr int IDS_PAGE_TOO_SMALL = 36227;
constexpr int IDS_TOO_MANY_PERSONS = 36228;
constexpr int IDS_RESULT_NOT_SAVED = 36229;
constexpr int IDS_ALREADY_NAMED = 36230;
constexpr int IDS_NO_PERSONS_COLUMN = 36231;
constexpr int IDS_WORKBOOK_EMPTY = 36232;
constexpr int IDS_NOTHING_TO_NAME = 36233;
constexpr int IDS_ENTER_INTEGER = 36234;
