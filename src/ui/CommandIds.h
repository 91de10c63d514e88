#pragma once

// The numbers under which commands and controls are known. The buttons and the
// check box carry the ids of the menu commands they issue, so a click and the
// menu item run the very same command.

// The program's own commands.
inline constexpr int ID_FILE_CHOOSE_INIT = 32771;
inline constexpr int ID_FILE_SAVE_LIST = 32772;
inline constexpr int ID_FILE_CREATE_LIST = 32773;
inline constexpr int ID_EDIT_KEEP_OUTPUT = 32774;
inline constexpr int ID_FILE_SHOW_INIT = 32776;

// Commands the window system itself would handle.
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
// Bound to F6 and Shift+F6, handled by nobody: those keys do nothing.
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;

// The view's controls.
inline constexpr int IDC_CULTURE_LIST = 500;
inline constexpr int IDC_NAME_TYPE_LIST = 501;
inline constexpr int IDC_COUNT_EDIT = 502;
inline constexpr int IDC_OUTPUT_VIEW = 504;
inline constexpr int IDC_STATIC = 0xFFFF;  // labels, which nothing addresses
