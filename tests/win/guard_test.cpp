// Resource guards: what they acquire is released or restored at the end of
// their scope, and a failed acquisition releases nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include "win/guard.h"

TEST(Guards, ObjectsAreSelectedBackAndDeleted)
{
    C_WINDOW_DC screen(nullptr);
    ASSERT_TRUE(screen.ok());
    C_MEMORY_DC memory(screen);
    ASSERT_TRUE(memory.ok());
    const HGDIOBJ original = GetCurrentObject(memory, OBJ_PEN);
    HPEN made = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    {
        C_GDI<HPEN> pen(made);
        {
            C_SELECT chosen(memory, pen);
            EXPECT_EQ(GetCurrentObject(memory, OBJ_PEN), made);
        }
        EXPECT_EQ(GetCurrentObject(memory, OBJ_PEN), original);
        EXPECT_EQ(GetObjectType(made), static_cast<DWORD>(OBJ_PEN));
        C_SELECT nothing(memory, nullptr);   // selects nothing, restores nothing
    }
    EXPECT_EQ(GetObjectType(made), 0u);
    EXPECT_EQ(GetCurrentObject(memory, OBJ_PEN), original);

    C_GDI<HBRUSH> brush(CreateSolidBrush(RGB(4, 5, 6)));
    const HBRUSH first = brush;
    brush.reset(CreateSolidBrush(RGB(7, 8, 9)));   // the first one goes when replaced
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(brush.get()), static_cast<DWORD>(OBJ_BRUSH));
}

TEST(Guards, KeysHandlesComAndAPrinterThatIsNotThere)
{
    C_HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.out()), ERROR_SUCCESS);
    EXPECT_NE(static_cast<HKEY>(key), nullptr);
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    {
        C_HANDLE owned(event);
        DWORD flags = 0;
        EXPECT_TRUE(GetHandleInformation(owned, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(event, &flags));   // closed
    {
        C_COM_INIT com;
        EXPECT_TRUE(com.ok());
        C_COM_INIT again;   // already initialised on this thread: still a pair
        EXPECT_TRUE(again.ok());
    }
    C_PRINTER_DC printer("Žádná taková tiskárna");
    EXPECT_FALSE(printer.ok());
    EXPECT_FALSE(printer.start("dokument"));
    EXPECT_FALSE(printer.end());
    C_PRINTER_DC none(static_cast<const char *>(nullptr));
    EXPECT_FALSE(none.ok());
}
