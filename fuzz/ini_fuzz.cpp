// The settings reader on any bytes: nothing crashes, every setting lands in
// its accepted range, the text survives a parse unchanged, and a written key
// reads back while the rest of the file stays as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "app/settings.h"

using namespace hayate;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    SharedState state;
    readSettingsText(text, state);
    if (state.courseIndex < 0 || state.courseIndex > 4 || state.timeLimitIndex < 0 ||
        state.timeLimitIndex > 2 || state.spacing < 0 || state.spacing > 1 ||
        state.cursorColour < 0 || state.cursorColour > 1 || state.letterCase < 0 ||
        state.letterCase > 1 || state.problemFileName.empty() ||
        state.problemFileName.size() > kMaxProblemFileNameBytes) {
        std::abort();
    }

    IniDocument doc(text);
    if (doc.content() != text) std::abort();

    // Writing one key: it reads back, and removing its line gives the old text
    // apart from line breaks the writer had to add.
    doc.setValue(sjisText(UserText::SettingsSection), sjisText(UserText::SettingsCourseKey), "7");
    if (doc.value("init", sjisText(UserText::SettingsCourseKey)) != "7") std::abort();
    const std::string written = doc.content();
    IniDocument again(written);
    if (again.content() != written) std::abort();
    again.setValue(sjisText(UserText::SettingsSection), sjisText(UserText::SettingsProblemFileKey),
                   "a.USR");
    if (again.value(sjisText(UserText::SettingsSection), sjisText(UserText::SettingsCourseKey)) !=
        "7")
        std::abort();
    if (again.value(sjisText(UserText::SettingsSection),
                    sjisText(UserText::SettingsProblemFileKey)) != "a.USR")
        std::abort();
    return 0;
}
