#include "shell/posix/QuietAlsa.h"

#include <dlfcn.h>

namespace {

// libasound's snd_lib_error_handler_t.
void ignoreReport(const char*, int, const char*, int, const char*, ...) {}

using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetErrorHandler = int (*)(ErrorHandler);

} // namespace

void quietAlsa() {
    // Left loaded for good: the handler must outlive SDL's use of the library.
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (alsa == nullptr) {
        return;
    }
    const auto setHandler =
        reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) {
        setHandler(ignoreReport);
    }
}
