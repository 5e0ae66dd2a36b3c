#include "tests/win/printutil.h"

#include <windows.h>
#include <winspool.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace print_check {

namespace {

std::string folder()   // Windows path, with the backslash at the end
{
    const char *unix_dir = std::getenv("TRK_PDF_DIR");
    if (!unix_dir || !*unix_dir)
        return "";
    std::string path = std::string("Z:") + unix_dir + "/";
    for (char &c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

std::string unix_path(const std::string &windows)   // Z:\a\b -> /a/b
{
    std::string path = windows.size() > 2 && windows[1] == ':' ? windows.substr(2) : windows;
    for (char &c : path)
        c = c == '\\' ? '/' : c;
    return path;
}

// Runs a Unix program of /usr/bin with its output into a file; that output.
// Wine does not wait for the end of a Unix program, so the shell renames the
// finished output into place and this waits for the name.
std::string run(const std::string &command)
{
    // The output goes beside the PDF files (a folder of the Unix side, which both sides can name).
    static int runs = 0;
    const std::string file = folder() + "read_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(++runs) + ".txt";
    const std::string part = unix_path(file) + ".part";
    std::string shell = "Z:\\bin\\sh -c \"/usr/bin/" + command + " > " + part + "; mv " + part + " " +
                        unix_path(file) + "\"";
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &shell[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
        return "";
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(file, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    in.close();
    DeleteFileA(file.c_str());
    return all.str();
}

std::string utf8_to_1250(const std::string &text)
{
    if (text.empty())
        return text;
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &wide[0], int(wide.size()));
    std::string out(WideCharToMultiByte(1250, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(1250, 0, wide.data(), int(wide.size()), &out[0], int(out.size()), nullptr, nullptr);
    return out;
}

}  // namespace

bool printer_ready()
{
    char name[256];
    DWORD size = sizeof name;
    return !folder().empty() && GetDefaultPrinterA(name, &size) && std::string(name) == "PDF";
}

std::set<std::string> pdf_files()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder() + "*.pdf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    // With the time of the last write: a job may reuse the name of an earlier file.
    do
        names.insert(std::string(found.cFileName) + "\t" +
                     std::to_string((uint64_t(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                    found.ftLastWriteTime.dwLowDateTime));
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string new_pdf(const std::set<std::string> &before, int timeout_ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (std::chrono::steady_clock::now() < end) {
        for (const std::string &entry : pdf_files()) {
            if (before.count(entry))
                continue;
            const std::string name = entry.substr(0, entry.find('\t'));
            // Whole once it ends with the end-of-file mark.
            std::ifstream in(folder() + name, std::ios::binary);
            std::stringstream all;
            all << in.rdbuf();
            const std::string content = all.str();
            if (content.size() > 5 && content.find("%%EOF", content.size() > 32 ? content.size() - 32 : 0) != std::string::npos)
                return folder() + name;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return "";
}

std::string pdf_text(const std::string &pdf)
{
    return utf8_to_1250(run("pdftotext -layout '" + unix_path(pdf) + "' -"));
}

int pdf_pages(const std::string &pdf)
{
    const std::string info = run("pdfinfo '" + unix_path(pdf) + "'");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

bool pdf_picture(const std::string &pdf, int page, const std::string &png)
{
    const std::string base = unix_path(png).substr(0, unix_path(png).size() - 4);
    run("pdftoppm -png -r 50 -singlefile -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
        unix_path(pdf) + "' '" + base + "'");
    return GetFileAttributesA(png.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> pdf_grey(const std::string &pdf, int page, int dpi, int *width, int *height)
{
    // A binary PGM: "P5", width, height, the largest value, one blank, the bytes.
    const std::string pgm = run("pdftoppm -gray -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
                                std::to_string(page) + " '" + unix_path(pdf) + "'");
    int maximum = 0, used = 0;
    *width = *height = 0;
    if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", width, height, &maximum, &used) != 3 || maximum != 255 ||
        pgm.size() < size_t(used + 1) + size_t(*width) * *height)
        return {};
    return std::vector<uint8_t>(pgm.begin() + used + 1, pgm.begin() + used + 1 + size_t(*width) * *height);
}

}  // namespace print_check
