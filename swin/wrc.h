// Dialog templates in the program's resources (RT_DIALOG of the program's
// own module), in the standard (not extended) template form.
#pragma once
#include <windows.h>

#include <cstdint>

#define WRC_TEMPLATE_MAX 32767   // bytes of a template that can be copied

// The template of that number; a missing one shows the error box
// "WRC - chybí id : %d" with the number and gives null.
const DLGTEMPLATE *WRC_find_template(int32_t number);
// The template of that name ("DW_TXT"); a missing one shows
// "WRC - chybí id : %s" with the name and gives null (a null name: internal error).
const DLGTEMPLATE *WRC_find_named_template(const char *name);
// A private copy of the template (MM_alloc, given back with MM_free): null
// for a missing template (as above), one larger than WRC_TEMPLATE_MAX or an
// extended one (internal error), or no memory (low-memory report).
DLGTEMPLATE *WRC_copy_template(int32_t number);
// The same for a template in hand (null or extended: internal error).
DLGTEMPLATE *WRC_copy(const DLGTEMPLATE *dialog_template);
// The size in bytes of a standard template: header, menu, class, title, the
// font when DS_SETFONT is set, then every item aligned to 32 bits with its
// class, title and creation data, up to the end of the last item. 0 for a
// null or an extended template (internal error).
int32_t WRC_template_size(const DLGTEMPLATE *dialog_template);
// The item of the template with that control id, or null (no report; a
// null template is an internal error).
const DLGITEMTEMPLATE *WRC_find_item(const DLGTEMPLATE *dialog_template, int32_t id);
// The title of a template item as CP1250 text (an ordinal title gives "")
// into text, at most maximum (1 or more) characters; 1, or 0 for a null
// argument (internal error).
int16_t WRC_item_title(const DLGITEMTEMPLATE *item, char *text, int16_t maximum);
