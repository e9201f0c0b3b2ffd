// The program's command ids, by name: every menu entry, tool-bar button,
// tool-bar control and shortcut is one of these numbers. They are the
// numbers the Windows program gave its commands, so that the string table
// (a command's prompt has the command's number), the saved bar layouts and
// the messages of the tool-bar controls keep meaning the same.
#pragma once

// --- Files, printing, help and the window ----------------------------------
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_DIRECT = 57608;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_PAGE_SETUP = 32858;
constexpr int ID_SAVE_AS_IMAGE = 32895;
constexpr int ID_IMPORT_HPGL = 32867;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP_FINDER = 57667;
constexpr int ID_CONTEXT_HELP = 57669;
constexpr int ID_HELP = 57670;
constexpr int ID_DEFAULT_HELP = 57671;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;
constexpr int ID_VIEW_RULERS = 32777;
constexpr int ID_VIEW_DESIGN_BAR = 32779;
constexpr int ID_AUTO_SNAP = 32780;
constexpr int ID_SYSTEM_COLORS = 32794;
constexpr int ID_VALUE_DIALOGS = 32814;
constexpr int ID_SYSTEM_SETTINGS = 32845;
// The calculator of the value prompts (F9).
constexpr int ID_CALCULATOR = 32771;

// --- Edit ----------------------------------------------------------------------
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_EDIT_CANCEL = 32800;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_PASTE_LINK = 57638;
constexpr int ID_COPY_BITMAP = 32866;
constexpr int ID_SAVE_TO_LIBRARY = 32811;
constexpr int ID_SAVE_AS_LINE_TYPE = 32812;
constexpr int ID_TABLE_MATCHING = 32861;

// --- Embedded objects ------------------------------------------------------------
constexpr int ID_OLE_INSERT_NEW = 57856;
constexpr int ID_OLE_EDIT_LINKS = 57857;
constexpr int ID_OLE_EDIT_CONVERT = 57858;
constexpr int ID_OLE_VERB_FIRST = 57872;
constexpr int ID_OLE_VERB_LAST = 57887;
constexpr int ID_OLE_DELETE = 57632;
constexpr int ID_OLE_SAVE_DATA = 32896;

// --- The tools, in the order of the design bar ------------------------------------
constexpr int ID_TOOL_SELECT = 32781;
constexpr int ID_TOOL_ZOOM = 32774;
constexpr int ID_TOOL_CURVE = 32772;
constexpr int ID_TOOL_CLOSED_CURVE = 32773;
constexpr int ID_TOOL_PROCESS_DRAWING = 32809;
constexpr int ID_TOOL_RULER = 32816;
constexpr int ID_TOOL_RECTANGLE = 32815;
constexpr int ID_TOOL_ERASER = 32817;
constexpr int ID_TOOL_FREEHAND = 32818;
constexpr int ID_TOOL_ELLIPSE = 32819;
constexpr int ID_TOOL_OFFSET_LINE = 32823;
constexpr int ID_TOOL_CUT_JOIN_LINES = 32826;
constexpr int ID_TOOL_TABLE = 32810;
constexpr int ID_TOOL_SYMMETRY = 32847;
constexpr int ID_TOOL_TEXT = 32848;
constexpr int ID_TOOL_LAYER = 32849;
constexpr int ID_TOOL_FILL = 32850;
constexpr int ID_TOOL_INSERT_PICTURE = 32851;
constexpr int ID_TOOL_SYMMETRIC_DRAW = 32863;
constexpr int ID_TOOL_OLE_ITEM = 32877;
constexpr int ID_TOOL_PICK_CLOSED = 32878;
constexpr int ID_TOOL_DIMENSION = 32879;
constexpr int ID_TOOL_SPLICE_PARTS = 32882;

// --- The context tool bar: lines ---------------------------------------------------
// Colour pickers carry their command in the colour messages too.
constexpr int ID_LINE_COLOR = 32797;
constexpr int ID_LINE_TYPE = 32796;
constexpr int ID_LINE_TYPE_LIST = 32776;
constexpr int ID_LINE_WIDTH = 32798;
// The dash and gap lengths of the current line type, in order.
constexpr int ID_PARAM_1 = 32803;
constexpr int ID_PARAM_2 = 32804;
constexpr int ID_PARAM_3 = 32805;
constexpr int ID_PARAM_4 = 32806;
constexpr int ID_PARAM_5 = 32807;
constexpr int ID_PARAM_6 = 32808;
constexpr int ID_OFFSET_DISTANCE = 32825;
constexpr int ID_START_ARROW = 32801;
constexpr int ID_END_ARROW = 32802;
constexpr int ID_START_ARROW_ANGLE = 32868;
constexpr int ID_START_ARROW_SIZE = 32869;
constexpr int ID_END_ARROW_ANGLE = 32870;
constexpr int ID_END_ARROW_SIZE = 32871;

// --- The context tool bar: texts and fills -------------------------------------------
constexpr int ID_FONT_NAME = 32827;
constexpr int ID_FONT_SIZE = 32829;
constexpr int ID_CHARSET = 32872;
constexpr int ID_FONT_COLOR = 32835;
constexpr int ID_FONT_BOLD = 32836;
constexpr int ID_FONT_ITALIC = 32837;
constexpr int ID_FONT_UNDERLINE = 32838;
constexpr int ID_ALIGNMENT = 32856;
constexpr int ID_FILL_TYPE = 32852;
constexpr int ID_GRADIENT_START = 32853;
constexpr int ID_GRADIENT_END = 32854;

// --- Tables ------------------------------------------------------------------------
constexpr int ID_COPY_TABLE = 32864;
constexpr int ID_CUT_TABLE = 32865;
constexpr int ID_MERGE_CELLS = 32822;
constexpr int ID_SPLIT_CELLS = 32824;
constexpr int ID_CELL_COLOR = 32842;
constexpr int ID_ROW_BEFORE = 32828;
constexpr int ID_ROW_AFTER = 32830;
constexpr int ID_COLUMN_LEFT = 32833;
constexpr int ID_COLUMN_RIGHT = 32834;
constexpr int ID_DIAGONAL_A = 32843;
constexpr int ID_DIAGONAL_B = 32844;
constexpr int ID_DELETE_ROW = 32831;
constexpr int ID_DELETE_COLUMN = 32832;
constexpr int ID_TABLE_PROPERTIES = 32860;

// --- Grading -------------------------------------------------------------------------
constexpr int ID_SIZE_INPUT = 32874;
constexpr int ID_OPEN_EXCEL = 32881;
constexpr int ID_GRADING = 32875;
constexpr int ID_CONDITION_INDEX = 32883;
constexpr int ID_SERIAL_SORT = 32887;
constexpr int ID_NAME_BY_HAND = 32888;
constexpr int ID_NAME_AUTOMATICALLY = 32889;

// --- The page tabs ---------------------------------------------------------------------
constexpr int ID_FIRST_SHEET = 32783;
constexpr int ID_PREV_SHEET = 32784;
constexpr int ID_SHEET_TEXT = 32785;
constexpr int ID_NEXT_SHEET = 32786;
constexpr int ID_LAST_SHEET = 32787;
constexpr int ID_INSERT_BEFORE = 32791;
constexpr int ID_INSERT_AFTER = 32792;
constexpr int ID_DELETE_SHEET = 32793;
