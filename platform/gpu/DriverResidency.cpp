#include "platform/gpu/DriverResidency.h"

#if defined(__SANITIZE_ADDRESS__)
#define TARSEL_GPU_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARSEL_GPU_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef TARSEL_GPU_ADDRESS_SANITIZER
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#endif

namespace platform::gpu {

#ifdef TARSEL_GPU_ADDRESS_SANITIZER
namespace {

bool IsDriverLibrary(const char* name)
{
    const std::size_t length = std::strlen(name);
    static constexpr char dri[] = "_dri.so";
    const bool driDriver = length > sizeof(dri) - 1 && std::strcmp(name + length - (sizeof(dri) - 1), dri) == 0;
    return driDriver || std::strstr(name, "libEGL_mesa") != nullptr || std::strstr(name, "libGLX_mesa") != nullptr;
}

int Pin(dl_phdr_info* info, size_t, void*)
{
    // RTLD_NOLOAD only takes another reference to a library already mapped.
    if (info->dlpi_name && IsDriverLibrary(info->dlpi_name))
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

} // namespace

void KeepDriverResident()
{
    dl_iterate_phdr(Pin, nullptr);
}
#else
void KeepDriverResident() {}
#endif

} // namespace platform::gpu
