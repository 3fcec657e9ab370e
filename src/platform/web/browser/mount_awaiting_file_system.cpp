#include "platform/web/browser/mount_awaiting_file_system.h"

#include "platform/web/browser/page_bridge.h"

namespace kestran::platform::web {

FileSystem& MountAwaitingFileSystem::In() {
    if (!in_) {
        // Whether they came from the browser's storage or live in memory only, the drives are
        // usable now; the page has said which.
        AwaitDrives();
        in_ = true;
    }
    return inner_;
}

}  // namespace kestran::platform::web
