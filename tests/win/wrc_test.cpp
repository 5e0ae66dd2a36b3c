// The dialog templates of the program's resources (exact styles, sizes, ids,
// placeholders) and the template access.
#include <gtest/gtest.h>

#include <cstring>

#include "res/dialogs.h"
#include "swin/wrc.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace {

// style 0: not checked; the placeholder text in UTF-8 here, CP1250 in the program.
struct ITEM { int id, x, y, cx, cy; uint32_t style; const char *text; };

struct TEMPLATE { int number; uint32_t style; int cx, cy; std::vector<ITEM> items; };

const uint32_t DEF = 0x50010301, PLAIN = 0x50010300;

const char TEXT[] = "Text zprávy";
const TEMPLATE templates[] = {
    {100, 0x92C808C0, 230, 68, {{100, 8, 5, 212, 35, 0, TEXT}, {1, 105, 47, 50, 14, DEF, "OK"}}},
    {101, 0x92C808C0, 230, 68,
     {{100, 8, 5, 212, 35, 0, TEXT}, {1, 100, 47, 50, 14, DEF, "YES"}, {7, 170, 47, 50, 14, PLAIN, "NO"}}},
    {102, 0x92C808C0, 245, 68,
     {{100, 12, 5, 204, 35, 0, TEXT}, {1, 130, 47, 50, 14, DEF, "YES"}, {7, 190, 47, 50, 14, PLAIN, "NO"},
      {2, 10, 47, 50, 14, PLAIN, "STORNO"}, {6, 71, 47, 50, 14, PLAIN, "ALL"}}},
    {103, 0x92C808C0, 245, 68,
     {{100, 12, 5, 204, 35, 0, TEXT}, {1, 130, 47, 50, 14, DEF, "YES"}, {7, 190, 47, 50, 14, PLAIN, "NO"},
      {2, 70, 47, 50, 14, PLAIN, "STORNO"}}},
    {104, 0x92C808C0, 245, 68, {{100, 12, 5, 204, 35, 0, TEXT}, {1, 95, 47, 50, 14, DEF, "OK"}}},
    {105, 0x92C800C0, 230, 68,
     {{101, 8, 4, 204, 12, 0, ""}, {100, 8, 18, 204, 28, 0, TEXT}, {1, 170, 47, 50, 14, DEF, "OK"},
      {2, 110, 47, 50, 14, PLAIN, "STORNO"}}},
    {106, 0x92C800C0, 230, 68,
     {{100, 8, 4, 216, 13, 0x50810000, ""}, {101, 8, 18, 204, 28, 0, TEXT}, {1, 170, 47, 50, 14, DEF, "OK"},
      {2, 110, 47, 50, 14, PLAIN, "STORNO"}}},
    {107, 0x92C808C0, 230, 68,
     {{101, 8, 4, 204, 12, 0, ""}, {100, 8, 18, 204, 23, 0, TEXT}, {1, 170, 47, 50, 14, DEF, "OK"},
      {2, 50, 47, 50, 14, PLAIN, "STORNO"}, {3, 110, 47, 50, 14, PLAIN, "ABORT"}}},
    {108, 0x928000C0, 154, 30,
     {{101, 0, 0, 152, 12, 0, ""}, {1, 100, 15, 50, 14, DEF, "OK"}, {2, 40, 15, 50, 14, PLAIN, "STORNO"}}},
    {109, 0x928000C0, 154, 106,
     {{100, 8, 4, 140, 80, 0, ""}, {1, 101, 88, 50, 14, DEF, "OK"}, {2, 41, 88, 50, 14, PLAIN, "STORNO"}}},
    {120, 0x92C808C0, 230, 68, {{100, 8, 5, 212, 35, 0, TEXT}, {1, 105, 47, 50, 14, DEF, "OK"}}},
    {130, 0x92C808C0, 156, 85,
     {{102, 68, 4, 0, 0, 0, ""},   // the icon takes its own size
      {100, 12, 32, 132, 12, 0, "Dokument"}, {101, 12, 48, 132, 12, 0, "Strana"},
      {1, 52, 64, 50, 14, DEF, "&Zrušit"}}},
};

}  // namespace

TEST(Wrc, TemplatesHaveTheirStylesSizesIdsAndPlaceholders)
{
    for (const TEMPLATE &t : templates) {
        SCOPED_TRACE(t.number);
        const DLGTEMPLATE *d = WRC_find_template(t.number);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(std::vector<int64_t>({d->style, d->cx, d->cy, d->cdit}),
                  std::vector<int64_t>({t.style, t.cx, t.cy, int64_t(t.items.size())}));
        for (const ITEM &i : t.items) {
            SCOPED_TRACE(i.id);
            const DLGITEMTEMPLATE *item = WRC_find_item(d, i.id);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(std::vector<int64_t>({item->x, item->y, item->cx, item->cy, i.style ? item->style : 0}),
                      std::vector<int64_t>({i.x, i.y, i.cx, i.cy, i.style}));
            char text[100];
            ASSERT_EQ(WRC_item_title(item, text, 99), 1);
            EXPECT_EQ(std::string(text), i.text);
        }
    }
    char text[100];   // the placeholders are CP1250, cut to the maximum
    ASSERT_EQ(WRC_item_title(WRC_find_item(WRC_find_template(130), 1), text, 99), 1);
    EXPECT_STREQ(text, "&Zru\x9Ait");
    ASSERT_EQ(WRC_item_title(WRC_find_item(WRC_find_template(100), 100), text, 4), 1);
    EXPECT_STREQ(text, "Text");
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Wrc, SizeAndCopyCoverTheWholeTemplate)
{
    for (const TEMPLATE &t : templates) {
        SCOPED_TRACE(t.number);
        HRSRC r = FindResourceA(nullptr, MAKEINTRESOURCEA(t.number), reinterpret_cast<LPCSTR>(RT_DIALOG));
        ASSERT_NE(r, nullptr);
        int32_t resource = static_cast<int32_t>(SizeofResource(nullptr, r));
        int32_t size = WRC_template_size(WRC_find_template(t.number));
        EXPECT_LE(size, resource);
        EXPECT_LT(resource - size, 4);   // at most the padding of the last item
        DLGTEMPLATE *copy = WRC_copy_template(t.number);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(std::memcmp(copy, WRC_find_template(t.number), static_cast<size_t>(size)), 0);
        MM_free(copy, "test", __LINE__);
    }
    // A built template: the size is the end of its last item.
    TEMPLATE_BUILDER b(WS_POPUP, 100, 50, L"Zkouška");
    b.item(1, 0x0080, 0, 1, 2, 30, 14, L"OK").item(100, 0x0082, 0, 1, 20, 90, 8, L"Řádek");
    EXPECT_EQ(WRC_template_size(b.get()), b.size());
    const DLGITEMTEMPLATE *item = WRC_find_item(b.get(), 100);
    ASSERT_NE(item, nullptr);
    char text[20];
    WRC_item_title(item, text, 19);
    EXPECT_STREQ(text, "\xD8\xE1" "dek");
    EXPECT_EQ(WRC_find_item(b.get(), 55), nullptr);
    EXPECT_TRUE(TU_reports().empty());
}

TEST(Wrc, MissingLargeExtendedAndNullTemplatesAreReported)
{
    EXPECT_EQ(WRC_find_template(999), nullptr);
    EXPECT_EQ(WRC_copy_template(111), nullptr);
    ASSERT_EQ(TU_reports().size(), 2u);
    EXPECT_EQ(TU_reports()[0].kind, WE_KIND_ERROR);
    EXPECT_EQ(TU_reports()[0].title + "|" + TU_reports()[0].text, " Chyba |WRC - chybí id : 999");
    EXPECT_EQ(TU_reports()[1].text, "WRC - chybí id : 111");
    TU_clear_reports();
    TEMPLATE_BUILDER big(WS_POPUP, 100, 50, std::wstring(17000, L'x'));
    EXPECT_GT(WRC_template_size(big.get()), WRC_TEMPLATE_MAX);
    TEMPLATE_BUILDER fits(WS_POPUP, 100, 50, std::wstring(16300, L'x'));
    ASSERT_LE(WRC_template_size(fits.get()), WRC_TEMPLATE_MAX);
    DLGTEMPLATE *copy = WRC_copy(fits.get());
    EXPECT_NE(copy, nullptr);
    MM_free(copy, "test", __LINE__);
    EXPECT_TRUE(TU_reports().empty());

    const WORD extended[] = {1, 0xFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const DLGTEMPLATE *ex = reinterpret_cast<const DLGTEMPLATE *>(extended);
    char text[10];
    TU_expect_failures("..\\swin\\wrc", {TU_FAILS(WRC_copy(big.get())), TU_FAILS(WRC_template_size(ex)),
                                         TU_FAILS(WRC_find_item(ex, 1)), TU_FAILS(WRC_template_size(nullptr)),
                                         TU_FAILS(WRC_item_title(nullptr, text, 9))});
}
