// Numbers of the toolkit's dialog templates and of their controls (shared by
// res/dialogs.rc and the code).
#pragma once

#define DLG_YES 100               // static text, "&O.K."
#define DLG_YES_NO 101            // static text, "&Ano", "&Ne"
#define DLG_YES_NO_ALL 102        // static text, "&Ano", "&Ne", "&Storno", "&Vše"
#define DLG_YES_NO_CANCEL 103     // static text, "&Ano", "&Ne", "&Storno"
#define DLG_ANY_KEY 104           // "Oznámení": static text, "&O.K."
#define DLG_STRING 105            // edit field, prompt, "&O.K.", "&Storno"
#define DLG_KB_CHAR 106           // key-input control, prompt, "&O.K.", "&Storno"
#define DLG_STRING_ABORT 107      // edit field, prompt, "&O.K.", "&Storno", "&Zruš"
#define DLG_MINI_STRING 108       // edit field, "&O.K.", "&Storno"; no caption
#define DLG_MINI_LIST 109         // list box, "&O.K.", "&Storno"; no caption
#define DLG_MINI_COLOR 110        // table of the sixteen colours, "&O.K.", "&Storno"; no caption
#define DLG_ERROR 120             // as DLG_YES
#define DLG_PRINT_CANCEL 130      // "Zrušení tisku": two texts, "&Zrušit"
#define DLG_TXT_CODE_PAGE 140     // "Kódování češtiny": four radio buttons, "&O.K.", "&Storno"
#define DLG_TXT_CHOOSE 141        // list of lines, "&O.K.", "&Storno"; the caller's caption
#define DLG_TXT_CHOOSE_AT 142     // as 141 without a caption, placed at a screen position
// The text listing window is the template named "DW_TXT" (swin/txtw.h): the
// list DLG_ID_TEXT, "&Tisk" DLG_ID_PRINT, "&Výstup do souboru" DLG_ID_TO_FILE,
// "&Zavřít" DLG_ID_OK.

// Controls.
#define DLG_ID_OK 1               // IDOK: "&O.K." / "&Ano" / "&Zrušit"
#define DLG_ID_CANCEL 2           // IDCANCEL: "&Storno" (and Esc)
#define DLG_ID_ABORT 3            // "&Zruš"
#define DLG_ID_ALL 6              // "&Vše"
#define DLG_ID_NO 7               // "&Ne"
#define DLG_ID_TEXT 100           // the message text; the prompt of 105/107; the list of 109; the table of 110;
                                  // the key control of 106;
                                  // the first text of 130; the list of DW_TXT, 141, 142
#define DLG_ID_EDIT 101           // the edit field of 105/107/108; the prompt of 106; the second text of 130
#define DLG_ID_ICON 102           // the icon of 130
#define DLG_ID_PRINT 101          // "&Tisk" of DW_TXT
#define DLG_ID_TO_FILE 102        // "&Výstup do souboru" of DW_TXT
// The radio buttons of 140: 100 + the code page number (common/cz.h).
#define DLG_ID_CP_KEYBCS2 101
#define DLG_ID_CP_LATIN2 102
#define DLG_ID_CP_WINDOWS 103
#define DLG_ID_CP_ASCII 104
