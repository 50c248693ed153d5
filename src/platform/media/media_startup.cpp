#include "platform/media/media_startup.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace platform {

void prepareMediaStartup() {
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 2);
#endif
}

} // namespace platform
