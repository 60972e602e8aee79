#pragma once
// The user's state folder of the editor, where what must outlive a run of it is kept.

#include <QString>

namespace StateFolder {

// $XDG_STATE_HOME/skizzar, or ~/.local/state/skizzar where that is not set to an absolute path.
QString path();

// The folder, made (for this user only) where it is missing. Raises FileError.
QString made();

} // namespace StateFolder
