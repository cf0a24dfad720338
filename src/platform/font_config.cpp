#include "platform/font_config.h"

#ifdef HAYATE_HAS_FONTCONFIG
#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>

#include <clocale>
#endif

namespace hayate {

bool fontConfigMayPreload(const EnvironmentLookup& environment) {
#ifdef HAYATE_HAS_FONTCONFIG
    return !environment("DESKTOP_STARTUP_ID").has_value();
#else
    (void)environment;
    return false;
#endif
}

FontConfigPreload::FontConfigPreload(const EnvironmentLookup& environment) {
#ifdef HAYATE_HAS_FONTCONFIG
    if (!fontConfigMayPreload(environment)) return;
    thread_ = std::thread([this] {
#ifdef SCHED_IDLE
        // Never ahead of the main thread or the display server.
        sched_param idle{};
        (void)pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
#endif
        locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (c) uselocale(c);
        loaded_ = FcInit() == FcTrue;
        if (c) {
            uselocale(LC_GLOBAL_LOCALE);
            freelocale(c);
        }
    });
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
