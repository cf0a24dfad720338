#include "platform/font_config.h"

#ifdef HAYATE_HAS_FONTCONFIG
#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <unistd.h>

#include <clocale>
#include <system_error>
#endif

namespace hayate {

#ifdef HAYATE_HAS_FONTCONFIG
namespace {
constexpr int kNice = 10;
}
#endif

bool fontConfigMayPreload(const EnvironmentLookup& environment) {
#ifdef HAYATE_HAS_FONTCONFIG
    return !environment("DESKTOP_STARTUP_ID").has_value();
#else
    (void)environment;
    return false;
#endif
}

std::optional<bool> fontFamilyInstalled(const std::string& familyUtf8) {
#ifdef HAYATE_HAS_FONTCONFIG
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    std::optional<bool> found;
    if (pattern && objects &&
        FcPatternAddString(pattern, FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(familyUtf8.c_str()))) {
        FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
        found = fonts && fonts->nfont > 0;
        if (fonts) FcFontSetDestroy(fonts);
    }
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    return found;
#else
    (void)familyUtf8;
    return std::nullopt;
#endif
}

FontConfigPreload::FontConfigPreload(const EnvironmentLookup& environment) {
#ifdef HAYATE_HAS_FONTCONFIG
    if (!fontConfigMayPreload(environment)) return;
    try {
        thread_ = std::thread([this] {
            // Behind the main thread and the display server when a core is
            // contended, yet never starved: the main thread waits for it.
            (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNice);
            locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
            if (c) uselocale(c);
            loaded_ = FcInit() == FcTrue;
            if (c) {
                uselocale(LC_GLOBAL_LOCALE);
                freelocale(c);
            }
        });
    } catch (const std::system_error&) {
        return;  // no thread to spare: Qt reads the configuration itself
    }
    started_ = true;
#else
    (void)environment;
#endif
}

FontConfigPreload::~FontConfigPreload() { wait(); }

void FontConfigPreload::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace hayate
