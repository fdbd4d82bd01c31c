#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesk {

// What the history may cost. Tests inject smaller ones.
struct HistoryLimits {
    // A file that would pass this is renamed to "….1" first (replacing an older one).
    std::int64_t fileBytes = 1024 * 1024;
    // The folder is kept under this by removing the oldest "….1" files.
    std::int64_t folderBytes = 64 * 1024 * 1024;
    // A chat window that opens shows this many of the last lines.
    int tailLines = 50;
    // One line at most (longer ones are cut when written and when read).
    std::size_t lineBytes = 8 * 1024;
};

// The whisper history: one plain-text file per partner (historyFileName) in one folder,
// 0700, with files 0600. Every entry is appended with a single write to a file opened
// for appending, so an earlier line is never rewritten and a crash can cost at most the
// entry being written. Reads are bounded in bytes whatever the files hold. Without a
// folder nothing is kept. GUI thread only.
class WhisperHistory {
public:
    explicit WhisperHistory(QString folder = {}, const HistoryLimits& limits = {});

    // $XDG_DATA_HOME/tesk/history (by default ~/.local/share/tesk/history).
    static QString defaultFolder();

    void setFolder(QString folder);
    const QString& folder() const { return folder_; }
    const HistoryLimits& limits() const { return limits_; }

    // Appends the lines (each without its line feed) in one write; false when the folder
    // or the file cannot be written.
    bool append(std::string_view partner, const std::vector<std::string>& lines);
    // The last lines of the partner's history, oldest first, from the rotated file too
    // when the current one holds fewer.
    std::vector<std::string> tail(std::string_view partner) const;
    // Removes the partner's files.
    void remove(std::string_view partner);

private:
    QString pathOf(std::string_view partner) const;
    bool makeFolder() const;
    void rotate(const QString& path);
    void keepFolderWithinLimit(std::int64_t added);

    QString folder_;
    HistoryLimits limits_;
    // The folder's size as last counted plus what was appended since; counted again after
    // a rotation or a removal.
    std::optional<std::int64_t> folderBytes_;
};

}  // namespace tesk
