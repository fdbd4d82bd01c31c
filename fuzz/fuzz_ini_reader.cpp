// The INI reader over a file holding the input, and one write and flush round trip.
//
// The input is the file. The names to read come from the file itself (the text of its
// headers and of what stands before each "=", untrimmed) and from a few fixed ones; a
// hash of the input picks the probes, the section and key to write, whether a section
// is erased first, and which line of the input becomes the written value.
//
// Checks: values are at most kMaxValueBytes long and hold no NUL; the three readers agree;
// after erase, write, flush and a fresh read, the written key reads back as written (cut
// at its first line break) when its names are writable, an erased section is gone, and
// every other probe reads as before; flushing the re-read profile again gives the same
// bytes.
//
// The files live in a folder of this process, on /dev/shm when there is one (flush syncs
// every file), or in $TESK_FUZZ_TMPDIR when set. Folders left by processes that are gone
// are removed at start.

#include <QString>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Check.h"
#include "settings/IniFile.h"

namespace {

using tesk::IniFile;

constexpr const char* kFolderPrefix = "tesk-fuzz-ini.";
constexpr std::string_view kBlanks = " \t\v\f\r";
constexpr std::string_view kLineBreakOrNul("\r\n\0", 3);

std::string folder;
std::string profilePath;

void removeFolder(const std::string& path) {
    if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                ::unlink((path + "/" + name).c_str());
            }
        }
        ::closedir(dir);
    }
    ::rmdir(path.c_str());
}

void removeFolderAtExit() {
    if (!folder.empty()) {
        removeFolder(folder);
    }
}

std::string baseFolder() {
    if (const char* chosen = std::getenv("TESK_FUZZ_TMPDIR"); chosen && *chosen) {
        return chosen;
    }
    struct stat info {};
    if (::stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) &&
        ::access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

void removeStaleFolders(const std::string& base) {
    DIR* dir = ::opendir(base.c_str());
    if (!dir) {
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.rfind(kFolderPrefix, 0) != 0) {
            continue;
        }
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + std::strlen(kFolderPrefix), &end, 10);
        if (pid > 0 && *end == '\0' && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            stale.push_back(base + "/" + name);
        }
    }
    ::closedir(dir);
    for (const std::string& path : stale) {
        removeFolder(path);
    }
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    FUZZ_CHECK(std::fclose(file) == 0);
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    FUZZ_CHECK(file.good());
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// How the profile matches names: blanks around them ignored, ASCII letter case too.
std::string fold(std::string_view name) {
    std::string folded(trim(name));
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool isWritableSection(std::string_view name) {
    name = trim(name);
    return !name.empty() && name.find(']') == std::string_view::npos &&
           name.find_first_of(kLineBreakOrNul) == std::string_view::npos;
}

bool isWritableKey(std::string_view name) {
    name = trim(name);
    return !name.empty() && name.front() != '[' && name.front() != ';' &&
           name.find('=') == std::string_view::npos &&
           name.find_first_of(kLineBreakOrNul) == std::string_view::npos;
}

// A small generator seeded by the input, so that each input makes the same choices.
struct Choices {
    std::uint64_t state;
    explicit Choices(std::string_view bytes) : state(1469598103934665603ULL) {
        for (const char c : bytes) {
            state = (state ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    }
    std::size_t next(std::size_t bound) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return bound == 0 ? 0 : static_cast<std::size_t>((state >> 33) % bound);
    }
};

struct Names {
    std::vector<std::string> sections{"Settings", "settings", " Login ", "Users",
                                      "",         "a]b",      "x\ny"};
    std::vector<std::string> keys{"Password", "NAME", " Sound ", "=", "[k", ";k", "", "k\0"};
    std::vector<std::string> lines;
};

Names namesOf(std::string_view file) {
    Names names;
    names.keys.back() = std::string("k\0", 2);
    while (!file.empty()) {
        const std::size_t end = file.find('\n');
        std::string_view line = file.substr(0, end);
        names.lines.emplace_back(line);
        if (const std::size_t open = line.find('['); open != std::string_view::npos) {
            const std::size_t close = line.find(']', open + 1);
            names.sections.emplace_back(line.substr(open + 1, close == std::string_view::npos
                                                                  ? std::string_view::npos
                                                                  : close - open - 1));
        }
        if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            names.keys.emplace_back(line.substr(0, equals));
        }
        file.remove_prefix(end == std::string_view::npos ? file.size() : end + 1);
    }
    return names;
}

std::optional<std::string> readValue(const IniFile& ini, const std::string& section,
                                     const std::string& key) {
    const std::string first = ini.readString(section, key, "a");
    const std::string second = ini.readString(section, key, "b");
    if (first != second) {
        return std::nullopt;
    }
    FUZZ_CHECK(first.size() <= IniFile::kMaxValueBytes);
    FUZZ_CHECK(first.find('\0') == std::string::npos);

    // Integers and flags read the same value.
    const int low = ini.readInteger(section, key, -7);
    const int high = ini.readInteger(section, key, 7);
    if (low == high) {
        FUZZ_CHECK(ini.readBool(section, key, false) == (low != 0));
        FUZZ_CHECK(ini.readBool(section, key, true) == (low != 0));
    } else {
        FUZZ_CHECK(low == -7 && high == 7);
        FUZZ_CHECK(!ini.readBool(section, key, false) && ini.readBool(section, key, true));
    }
    return first;
}

struct Probe {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string base = baseFolder();
    removeStaleFolders(base);
    folder = base + "/" + kFolderPrefix + std::to_string(::getpid());
    removeFolder(folder);
    if (::mkdir(folder.c_str(), 0700) != 0) {
        std::perror(folder.c_str());
        std::abort();
    }
    std::atexit(removeFolderAtExit);
    profilePath = folder + "/Tesk.ini";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Names names = namesOf(bytes);
    Choices choose(bytes);
    const auto pick = [&choose](const std::vector<std::string>& from) -> const std::string& {
        return from[choose.next(from.size())];
    };

    const bool erase = choose.next(4) == 0;
    const std::string erased = pick(names.sections);
    const std::string section = pick(names.sections);
    const std::string key = pick(names.keys);
    const std::string value = names.lines.empty() ? "" : pick(names.lines);

    std::vector<Probe> probes{{section, key, std::nullopt},
                              {erased, pick(names.keys), std::nullopt}};
    for (int i = 0; i < 6; ++i) {
        probes.push_back({pick(names.sections), pick(names.keys), std::nullopt});
    }

    // Flushing replaces the file through a temporary file of its own in the same folder.
    writeFile(profilePath, bytes);
    {
        IniFile ini(QString::fromStdString(profilePath));
        FUZZ_CHECK(ini.exists());
        for (Probe& probe : probes) {
            probe.value = readValue(ini, probe.section, probe.key);
        }
        if (erase) {
            ini.eraseSection(erased);
        }
        ini.writeString(section, key, value);
        FUZZ_CHECK(ini.flush());
    }

    const bool written = isWritableSection(section) && isWritableKey(key);
    const std::string stored = value.substr(0, value.find_first_of(kLineBreakOrNul));
    const std::string flushed = readFile(profilePath);
    {
        IniFile reread(QString::fromStdString(profilePath));
        for (const Probe& probe : probes) {
            const std::optional<std::string> now = readValue(reread, probe.section, probe.key);
            const bool sameSection = fold(probe.section) == fold(section);
            if (written && sameSection && fold(probe.key) == fold(key)) {
                FUZZ_CHECK(now == stored.substr(0, IniFile::kMaxValueBytes));
            } else if (erase && fold(probe.section) == fold(erased)) {
                FUZZ_CHECK(!now);
            } else {
                FUZZ_CHECK(now == probe.value);
            }
        }
        FUZZ_CHECK(reread.flush());
    }
    FUZZ_CHECK(readFile(profilePath) == flushed);
    return 0;
}
