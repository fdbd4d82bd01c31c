#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tesk {

// A private-profile (INI) file, read with the rules of the Windows profile functions so
// that a file written on Windows reads the same here.
//
// Reading:
// - A line whose first non-blank byte is "[" is a section header; the name runs to the
//   first "]", or to the end of the line when there is none (so a broken header never
//   lends its lines to the section above). A line starting with ";" is a comment.
// - Any other line holding "=" after a non-empty name is a key. Lines that are none of
//   these, and key lines above the first header, yield nothing but are kept as they are.
// - Section and key names match regardless of ASCII letter case, and blanks around them
//   are ignored. Where a section or a key repeats, its first occurrence counts.
// - A value is the bytes after the first "=" of its line, up to a NUL byte, at most
//   kMaxValueBytes of them; longer values are cut when read.
// - LF and CR LF line ends are both read. A file larger than kMaxFileBytes, or one that
//   cannot be read, is an empty profile that flush() refuses to overwrite.
//
// Writes change the profile in memory; flush() replaces the file on disk. Everything the
// writes do not touch (other sections and keys, comments, blank and unparsable lines,
// their order) is written back as it was. Lines are written with CR LF ends, whatever
// the file had, so files made on Windows keep their form.
class IniFile {
public:
    static constexpr std::size_t kMaxValueBytes = 2047;
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    explicit IniFile(QString path);

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal with an optional "-"; a value of more than two characters that starts with
    // "0x" or "0X" is hexadecimal. Blanks around the number are allowed. Anything else,
    // including a number outside the range of int, gives def.
    int readInteger(const std::string& section, const std::string& key, int def) const;
    // Read as an integer; any non-zero value is true.
    bool readBool(const std::string& section, const std::string& key, bool def) const;
    // The keys of a section (each at its first occurrence), lower-cased, with their values as
    // readString gives them, in file order: a long numbered list is read in one pass. The
    // values point into this object and stay valid until it is next changed.
    struct Entry {
        std::string key;
        std::string_view value;
    };
    std::vector<Entry> entries(const std::string& section) const;

    // A value is stored up to its first CR, LF or NUL byte, which could not stay inside
    // one line. A write is ignored when its section name is empty or holds "]", or its
    // key name is empty, holds "=" or starts with "[" or ";", or either holds a line
    // break or NUL: such a name could not be read back. A new key goes after the last key
    // of its section, a new section at the end of the file.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);
    void writeBool(const std::string& section, const std::string& key, bool value);  // "1"/"0"

    // Removes every section of that name with all of its lines.
    void eraseSection(const std::string& section);
    // Removes the key from the section that is read, with every repeat of it there, so
    // that no older value takes its place when the file is read again.
    void eraseKey(const std::string& section, const std::string& key);

    // Replaces the file with the profile: a temporary file in the same folder, synced,
    // then renamed over the target, so a crash leaves either the old or the new file.
    // The result always has mode 0600 because it holds the account password. A chain of
    // symbolic links is kept and the file at its end replaced (see saveTarget). On failure
    // nothing on disk changes and false is returned; so also when the file existed but
    // could not be loaded, or when it is read-only.
    bool flush();

    // Whether the file was on disk when loaded, or has been written by flush() since.
    bool exists() const { return exists_; }
    const QString& path() const { return path_; }

    static QString unableToWriteMessage(const QString& path);

private:
    // One key line, or a run of other lines joined by "\n" (without line ends).
    struct Line {
        static constexpr std::size_t kNotAKey = std::string::npos;
        std::string text;
        std::size_t valueStart = kNotAKey;  // just after the "=" of a key line
        bool isKey() const { return valueStart != kNotAKey; }
    };
    struct Section {
        std::string header;  // the raw header line; empty for the lines above any header
        std::string name;    // folded name
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> keys;  // folded name -> first line
    };

    void load();
    // sectionLines: the lines that may hold a key, per section in file order, so that the
    // tables of the section a header opens are sized once.
    void addLoadedLine(std::string_view line, const std::vector<std::size_t>& sectionLines);
    std::optional<std::string_view> findValue(const std::string& section,
                                              const std::string& key) const;
    static std::string_view valueOf(const Line& line);
    Section& sectionForWrite(std::string_view name);
    void rebuildSectionIndex();
    std::string serialize() const;

    QString path_;
    bool exists_ = false;
    bool unreadable_ = false;
    std::vector<Section> sections_;  // [0] holds the lines above the first header
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> first
};

}  // namespace tesk
