#include "tests/win/instutil.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "common/sysfold.h"
#include "common/syslink.h"
#include "common/sysreg.h"
#include "inst/unl.h"
#include "insttrkp/ins_shell.h"
#include "swin/wco.h"
#include "tests/testutil.h"
#include "tests/win/winutil.h"

namespace inst_check {

// ---- the shell ----

std::string folder(HKEY root, const char *name)
{
    char path[SYS_FOLDER_MAX + 1];
    SYS_shell_folder(root, name, path);
    return path;
}
std::string group() { return folder(HKEY_LOCAL_MACHINE, "Common Programs") + "\\TOREVAN"; }
std::string desktop() { return folder(HKEY_CURRENT_USER, "Desktop"); }
std::string quick_launch() { return folder(HKEY_CURRENT_USER, "AppData") + "\\Microsoft\\Internet Explorer\\Quick Launch"; }

void SHELL_CLEANUP::clean()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    SetCurrentDirectoryA(temp);
    for (const std::string &link : {group() + "\\TRAKPRN.LNK", group() + "\\Odinstalace TRAKPRN.LNK",
                                    desktop() + "\\TRAKPRN.LNK", quick_launch() + "\\TRAKPRN.LNK"})
        DeleteFileA(link.c_str());
    RemoveDirectoryA(group().c_str());
    SYS_registry_delete_key(HKEY_LOCAL_MACHINE, INS_UNINSTALL_KEY);
}

bool operator==(const LINK &a, const LINK &b)
{
    return a.program == b.program && a.description == b.description && a.directory == b.directory;
}
std::optional<LINK> read_link(const std::string &name)
{
    char program[SYS_LINK_TEXT_MAX + 1], description[SYS_LINK_TEXT_MAX + 1], directory[SYS_LINK_TEXT_MAX + 1];
    if (!SYS_read_link(name.c_str(), program, description, directory))
        return std::nullopt;
    return LINK{program, description, directory};
}

std::string registry(const char *value)
{
    char text[1024];
    SYS_registry_read(HKEY_LOCAL_MACHINE, INS_UNINSTALL_KEY, value, text, sizeof text);
    return text;
}


// ---- distributions ----

std::string bytes(size_t n, unsigned seed)
{
    std::string s(n, 0);
    for (size_t i = 0; i < n; i++)
        s[i] = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    return s;
}

std::string beside(const char *program)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    *std::strrchr(path, '\\') = 0;
    return std::string(path) + "\\" + program;
}

std::vector<FILE_ENTRY> sample(size_t big, bool real_uninstaller)
{
    return {{"TRAKPRN.EXE", "EXE", "Konverzní program", bytes(big, 1)},
            {"UNINSTAL.EXE", "EXE", "Odinstalační program", real_uninstaller ? TU_read(beside("UNINSTAL.EXE")) : bytes(2000, 3)},
            {"POPIS.TXT", ".", "Popis verze", "Verze 5\r\n"},
            {"VZOR.GBR", "Data", "Vzorová data", bytes(big / 8 + 3000, 2)}};
}

void build(const std::string &out, const std::vector<FILE_ENTRY> &files, std::vector<std::string> options,
           bool readme)
{
    std::string src = out + "_src";
    CreateDirectoryA(src.c_str(), nullptr);
    std::string manifest;
    for (const FILE_ENTRY &f : files) {
        TU_write(src + "\\" + f.subdir + "_" + f.target, f.content);
        manifest += f.subdir + "_" + f.target + "\t" + f.target + "\t" + f.subdir + "\t" + f.description + "\r\n";
    }
    TU_write(src + "\\manifest.txt", manifest);   // CP1250: the tool takes it as it is
    TU_write(src + "\\README.TXT", "Čtěte mě\r\n");
    std::vector<std::string> args = {"build", src + "\\manifest.txt", out};
    if (readme)
        args.insert(args.end(), {"--readme", src + "\\README.TXT"});
    args.insert(args.end(), options.begin(), options.end());
    ASSERT_EQ(WT_trakdist(args), 0);
}

std::vector<std::pair<int, std::string>> uninst_records(const std::string &path)
{
    std::string list = TU_read(path);
    std::vector<std::pair<int, std::string>> records;
    for (size_t at = 0; at + UNL_RECORD_SIZE <= list.size(); at += UNL_RECORD_SIZE)
        records.push_back({static_cast<int>(TU_get_le(list, at, 2)), list.substr(at + 2, list.find('\0', at + 2) - at - 2)});
    return records;
}

std::string wco_value(const std::string &file, const char *key)
{
    WCO_file *store = nullptr;
    WCO_create(&store);
    char text[1024] = {};
    if (WCO_load(store, file.c_str()))
        WCO_get_text(store, "CO_common", key, text, 1000);
    WCO_destroy(&store);
    return text;
}


// ---- what an installation leaves ----

std::string inst_lines(const std::string &target, const std::vector<FILE_ENTRY> &files)
{
    std::string lines;
    for (const FILE_ENTRY &f : files)
        lines += target + "\\" + (f.subdir == "." ? "" : f.subdir + "\\") + f.target + " " + f.description + "\r\n";
    return lines;
}

std::vector<std::string> snapshot(const std::vector<std::string> &roots)
{
    std::vector<std::string> names;
    for (const std::string &root : roots) {
        std::error_code ec;
        for (auto i = std::filesystem::recursive_directory_iterator(root, ec);
             i != std::filesystem::recursive_directory_iterator(); i.increment(ec))
            names.push_back(i->path().string());
    }
    char text[16];
    names.push_back(SYS_registry_read(HKEY_LOCAL_MACHINE, INS_UNINSTALL_KEY, "DisplayName", text, sizeof text) ? "key" : "");
    std::sort(names.begin(), names.end());
    return names;
}

void expect_installed(const std::string &target, const std::vector<FILE_ENTRY> &files)
{
    for (const FILE_ENTRY &f : files) {
        std::string path = target + "\\" + (f.subdir == "." ? "" : f.subdir + "\\") + f.target;
        EXPECT_TRUE(TU_read(path) == f.content) << path;
    }
}

void expect_complete(const std::string &target, const std::vector<FILE_ENTRY> &files, bool desktop_link,
                     bool quick_launch_link)
{
    const std::string t = target + "\\", g = group();
    expect_installed(target, files);
    EXPECT_EQ(TU_read(t + "INST.LST"), inst_lines(target, files));
    EXPECT_EQ(wco_value(t + "EXE\\SYSTEM.WCO", "system_path"), t.substr(2));
    std::vector<std::pair<int, std::string>> records = uninst_records(t + "UNINST.LST"), wanted = {
        {0, t + "INST.LST"}, {0, t + "EXE\\SYSTEM.WCO"}, {1, g}, {0, g + "\\TRAKPRN.LNK"},
        {0, g + "\\Odinstalace TRAKPRN.LNK"}, {3, INS_UNINSTALL_KEY}};
    for (const FILE_ENTRY &f : files)
        wanted.push_back({0, t + (f.subdir == "." ? "" : f.subdir + "\\") + f.target});
    LINK program{t + "EXE\\TRAKPRN.EXE", "TRAKPRN - Konverze dat Gerber->Postscript", t + "Data"};
    EXPECT_EQ(read_link(g + "\\TRAKPRN.LNK"), program);
    EXPECT_EQ(read_link(g + "\\Odinstalace TRAKPRN.LNK"), (LINK{t + "EXE\\UNINSTAL.EXE", "Odinstalace TRAKPRN", target}));
    for (auto [chosen, link] : {std::pair{desktop_link, desktop()}, std::pair{quick_launch_link, quick_launch()}}) {
        link += "\\TRAKPRN.LNK";
        if (chosen) {
            wanted.push_back({0, link});
            EXPECT_EQ(read_link(link), program);
        } else {
            EXPECT_FALSE(TU_exists(link)) << link;
        }
    }
    for (const auto &w : wanted)
        EXPECT_NE(std::find(records.begin(), records.end(), w), records.end()) << "not in UNINST.LST: " << w.second;
    EXPECT_EQ(registry("DisplayName"), "TRAKPRN");
    EXPECT_EQ(registry("UninstallString"), t + "EXE\\UNINSTAL.EXE");
}

namespace {

// The Unix name of a Windows path, through Wine's own conversion.
std::string unix_name(const std::string &windows)
{
    typedef char *(CDECL * UNIX_NAME)(const WCHAR *);
    const auto convert = reinterpret_cast<UNIX_NAME>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring wide(MAX_PATH * 4, L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, windows.c_str(), -1, &wide[0], MAX_PATH * 4)));
    char *name = convert ? convert(wide.c_str()) : nullptr;
    const std::string result = name ? name : "";
    if (name)
        HeapFree(GetProcessHeap(), 0, name);
    return result;
}

}  // namespace

bool unix_link(const std::string &target, const std::string &link)
{
    const size_t slash = link.find_last_of('\\');
    const std::string to = unix_name(target), folder = unix_name(link.substr(0, slash));
    if (to.empty() || folder.empty())
        return false;
    // The command line passes through code page 1250: names of ASCII only.
    std::string command = "Z:\\bin\\ln -s \"" + to + "\" \"" + folder + "/" + link.substr(slash + 1) + "\"";
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return WT_wait([&] {
        const DWORD a = GetFileAttributesA(link.c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
    }, 10000);
}

}  // namespace inst_check
