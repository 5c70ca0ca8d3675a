// The temporary files outputs are written to before they take their names:
// ".NAME.tmp-XXXXXX" beside the file. The ones this process holds are known,
// so that an interrupt can remove them at once, and those a killed run left
// behind are recognised by their name.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace host {

// Notes a temporary file this process has created (and forgets it again).
// Up to a few dozen are kept; more are left to removeStaleTemporaries.
void noteTemporary(const std::string& path);
void forgetTemporary(const std::string& path);

// Removes every temporary file this process holds. Safe to call from a
// signal handler: it only unlinks.
void removeHeldTemporaries() noexcept;

// The pattern of temporary names, for `name` (without folder) of an output.
std::string temporaryPattern(const std::string& name);
bool isTemporaryName(std::string_view fileName);

// Removes the temporary files in `folder` and its subfolders (symbolic
// links are not followed, subfolders for which `skip` says so are left
// alone) that match the pattern; returns how many. For a run that holds its
// root folder's lock, these are what a killed run left.
int removeStaleTemporaries(const std::string& folder,
                           const std::function<bool(const std::string& subfolder)>& skip = {});

}  // namespace host
