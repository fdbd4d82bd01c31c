#pragma once

#include <QString>
#include <chrono>
#include <optional>

namespace tesk {

// The file that saving `path` replaces: `path` itself, or the end of the chain of
// symbolic links it starts (at most 40 of them), so that every link stays a link. A
// link that points nowhere is followed, creating its target, only when the link and
// the folder it points into belong to the user. None when saving must fail: such a
// foreign dangling link, a loop, or a target whose owner may not write it (its owner's
// write bit is clear), which is never replaced behind the owner's back.
std::optional<QString> saveTarget(const QString& path);

// The temporary files of saves that were interrupted (".Tesk.ini.XXXXXX" beside the
// saved file, owned by the user, older than `minimumAge`): each holds the scrambled
// password, so they are removed. Returns how many were.
int removeLeftoverTemporaries(const QString& path,
                              std::chrono::seconds minimumAge = std::chrono::minutes(1));

}  // namespace tesk
