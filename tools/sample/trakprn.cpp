// TRAKPRN.EXE of the sample distribution: a window with the program's name,
// its version and its folder; it converts nothing. With "-v" it shows
// nothing and ends at once with 0 (a script's check that it starts).
#include <windows.h>

#include <cstring>
#include <string>

namespace {

const char CLASS_NAME[] = "TrakprnSample";
const char TITLE[] = "TRAKPRN - ukázkový program";
const int MARGIN = 12;

std::string folder;   // where the program runs from

// The folder of the program's own file, without the last "\".
std::string own_folder()
{
    char path[MAX_PATH + 1];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return "?";
    char *slash = std::strrchr(path, '\\');
    if (slash)
        *slash = 0;
    return path;
}

// One line a row; a long folder is shortened in its middle.
void paint(HWND window)
{
    const char *lines[] = {"TRAKPRN 5.0 (ukázka)",
                           "Ukázkový program instalace konverzního programu Gerber -> Postscript.",
                           "Tento program nic nepřevádí.", "", "Spuštěn ze složky:", folder.c_str()};
    PAINTSTRUCT painting;
    HDC dc = BeginPaint(window, &painting);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    RECT row;
    GetClientRect(window, &row);
    InflateRect(&row, -MARGIN, -MARGIN);
    for (const char *line : lines) {
        row.bottom = row.top + metrics.tmHeight;
        DrawTextA(dc, line, -1, &row, DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
        row.top = row.bottom + metrics.tmExternalLeading;
    }
    SelectObject(dc, old);
    EndPaint(window, &painting);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

// The command line is "-v" (blanks around it allowed).
bool check_only(const char *command_line)
{
    std::string text = command_line ? command_line : "";
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return false;
    text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    return text == "-v" || text == "-V";
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show)
{
    if (check_only(command_line))
        return 0;
    folder = own_folder();
    WNDCLASSA type{};
    type.lpfnWndProc = window_procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    type.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = CLASS_NAME;
    if (!RegisterClassA(&type))
        return 1;
    HWND window = CreateWindowA(CLASS_NAME, TITLE, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, 480, 180, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
