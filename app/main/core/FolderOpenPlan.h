// What the folder actions of the main window decide before they touch the
// shell: which window kind to open, whether to reuse an open folder window and
// which one, what the main window does afterwards, and the texts the actions
// send or show. No Windows header, so every rule is tested natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// ---- Opening a folder --------------------------------------------------------

enum class FolderWindowKind { Plain, Explorer };

// What the main window does once a folder is opened, and when it loses the
// focus (option ExitBehavior, numbered as stored).
enum class ExitBehavior {
    StayThenHide = 1,      // held topmost; unloaded when the mouse leaves it
    StayThenMinimize = 2,  // held topmost; minimized when the mouse leaves it
    KeepOpen = 3,
    Minimize = 4,  // at once
    Hide = 5,      // hidden and unloaded at once
};

// The options as OpenFolder reads them from the main window.
struct FolderOpenOptions {
    bool defaultOpenInExplorer = false;  // bOptions_DefaultOpenInExplorer
    bool reuseFolderWindows = false;     // bOptions_ReuseFolderWindows
    ExitBehavior exitBehavior = ExitBehavior::StayThenHide;
};

// What a path names on disk, as far as opening cares: a folder, a file, or
// nothing that can be seen (missing, or a server that does not answer).
enum class PathTarget { Folder, File, Unknown };

// Whether opening may hand the path to the shell, which runs a file it is
// asked to open and looks a bare name up along the program path: a shell
// namespace path ("::{…}"), or a drive or network path that names no file.
// A folder since replaced by a file of that name is refused as well.
bool MayOpenAsFolder(std::wstring_view path, PathTarget target);
// "::{…}": opened by the shell itself, never looked up on disk.
bool IsShellNamespacePath(std::wstring_view path);

// Explorer with the folder tree when exactly one of the option and the
// inversion is set.
FolderWindowKind EffectiveWindowKind(bool defaultOpenInExplorer, bool invertOpenMode);

// Reuse when exactly one of the option and the inversion is set.
bool ShouldLookForExistingWindow(bool reuseFolderWindows, bool invertReuse);

// The two inversions each caller of OpenFolder passes.
struct OpenRequest {
    bool invertOpenMode = false;
    bool invertReuse = false;
};
OpenRequest PlainClickRequest();                           // a click on an entry
OpenRequest ExplorerMenuRequest(bool reuseFolderWindows);  // the other kind, always a new window
OpenRequest OpenExistingMenuRequest();                     // reuse the other way round

// Whether a document type name is that of a folder view (web pages and other
// documents in a shell window are not). Case-sensitive, as the shell names it.
bool IsFolderViewTypeName(std::wstring_view typeName);

// One window of the shell's collection, as far as the choice needs it.
struct FolderWindowState {
    bool isFolderView = false;
    bool minimized = false;  // its top-level window
};

// The window to reuse: the first folder window whose top-level window is not
// minimized; failing that the first folder window at all, which is then to be
// restored. index is -1 when there is no folder window.
struct FolderWindowChoice {
    std::ptrdiff_t index = -1;
    bool restore = false;
    bool Found() const { return index >= 0; }
};
FolderWindowChoice ChooseFolderWindow(const std::vector<FolderWindowState>& windows);

// Held topmost from the open on, so the new Explorer window does not cover it
// before the mouse leaves (ExitBehavior 1 and 2).
bool HoldTopmostWhileOpening(ExitBehavior exitBehavior);

// What the main window does after a folder was opened.
struct AfterOpenPlan {
    bool watchMouseLeave = false;  // enable tmrMouseLeaveChecker
    bool minimize = false;         // at once
    bool hideAndUnload = false;    // at once
    bool clearFolderOpened = false;
};
// A reused window always gets the mouse-leave watch and nothing else; a new
// window follows ExitBehavior (values outside 1 to 5 leave the window as it is).
AfterOpenPlan PlanAfterOpen(ExitBehavior exitBehavior, bool reusedWindow);

// What the mouse-leave watch does once the pointer is outside the window:
// unload for ExitBehavior 1, minimize (and clear bFolderOpened) for any other.
enum class MouseLeaveAction { Unload, Minimize };
MouseLeaveAction MouseLeaveActionFor(ExitBehavior exitBehavior);

// ---- Properties through the worker -----------------------------------------------

// The main window after the request: unload once the context menu has
// returned for 1 and 5, minimize for 2 and 4, else stay.
enum class AfterProperties { Stay, UnloadAfterMenu, Minimize };
AfterProperties PlanAfterProperties(ExitBehavior exitBehavior);

// ---- One-time notices --------------------------------------------------------------

struct NoticeTexts {
    std::wstring instruction;  // main text
    std::wstring content;      // the tip
};

// The message box of systems without task dialogs: main text, three line
// breaks, tip.
std::wstring NoticeMessageBoxText(const NoticeTexts& notice);

}  // namespace pw
