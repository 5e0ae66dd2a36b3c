// The edit-field widget (kind 5): a text of at most 80 characters. A
// single-line field holds no line breaks: a carriage return is dropped and a
// line feed becomes a blank. A multi-line field (ES_MULTILINE added to its
// style before creation) reads back its lines without carriage returns.
#pragma once
#include "swin2/wt_uni.h"

#define WT_EDIT_MAX 80          // characters of an edit field's text
#define WT_EDIT_MARGIN 9        // pixels of a line beyond the font's height and leading

class C_WT_EDIT : public C_WT_UNI {
public:
    C_WT_EDIT(C_BW *owner, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);

    // A null text is an internal error and 0.
    int16_t set_text(const char *text) override;
    int16_t get_text(char *buffer, int16_t bound) override;
    // A field no higher than one line of the font (height + external leading
    // + 9 pixels) becomes exactly one line high; moved without repainting.
    int16_t font_changed(HFONT font) override;

    int16_t multi_line() const { return (style & ES_MULTILINE) ? 1 : 0; }
};
