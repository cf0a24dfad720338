#include "app/settings.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/ini_file.h"
#include "platform/file_check.h"
#include "platform/file_names.h"

namespace hayate {

namespace {

// The value of `key` if it is a number in first..last, else 0 (the start-up value).
int readChoice(const IniDocument& doc, std::string_view key, int first, int last) {
    const std::optional<std::string> text = doc.value(sjisText(UserText::SettingsSection), key);
    if (!text) return 0;
    const int v = parseProfileInt(*text).value_or(0);
    return v >= first && v <= last ? v : 0;
}

bool usableFileName(std::string_view name) {
    if (name.empty() || name.size() > kMaxProblemFileNameBytes) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20) return false;
    return true;
}

}  // namespace

std::filesystem::path settingsFilePath(const std::filesystem::path& executable,
                                       const std::filesystem::path& dataFolder) {
    std::filesystem::path name = executable.filename();
    name.replace_extension(".INI");
    return dataFolder / name;
}

void readSettings(const std::filesystem::path& file, SharedState& state) {
    std::string content = readRegularFileHead(file, kMaxSettingsBytes + 1).value_or(std::string());
    if (content.size() > kMaxSettingsBytes) {
        // A line cut by the limit could read as another value.
        content.resize(kMaxSettingsBytes);
        const std::size_t lastBreak = content.rfind('\n');
        content.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    readSettingsText(content, state);
    // Earlier versions wrote the system's bytes unconverted; such a name still
    // finds its file.
    const std::optional<std::string> raw = IniDocument(content).value(
        sjisText(UserText::SettingsSection), sjisText(UserText::SettingsProblemFileKey));
    std::error_code ec;
    if (raw && *raw != state.problemFileName && usableFileName(*raw) &&
        !std::filesystem::exists(state.problemFileName, ec) &&
        std::filesystem::is_regular_file(*raw, ec)) {
        state.problemFileName = *raw;
    }
}

void readSettingsText(std::string_view content, SharedState& state) {
    const IniDocument doc(content);
    state.courseIndex = readChoice(doc, sjisText(UserText::SettingsCourseKey), 0, 4);
    state.timeLimitIndex = readChoice(doc, sjisText(UserText::SettingsTimeLimitKey), 0, 2);
    state.spacing = readChoice(doc, sjisText(UserText::SettingsSpacingKey), 0, 1);
    state.cursorColour = readChoice(doc, sjisText(UserText::SettingsCursorColourKey), 0, 1);
    state.letterCase = readChoice(doc, sjisText(UserText::SettingsLetterCaseKey), 0, 1);
    // A newer key, read strictly: only "1" turns the extended romaji on.
    state.romajiExtended = doc.value(sjisText(UserText::SettingsSection),
                                     sjisText(UserText::SettingsRomajiExtendedKey)) == "1"
                               ? 1
                               : 0;
    state.inputMethod = doc.value(sjisText(UserText::SettingsSection),
                                  sjisText(UserText::SettingsInputMethodKey)) == "1"
                            ? InputMethod::Kana
                            : InputMethod::Romaji;
    const std::optional<std::string> name =
        doc.value(sjisText(UserText::SettingsSection), sjisText(UserText::SettingsProblemFileKey));
    // The file keeps Shift-JIS; the program opens files by the system's names.
    std::optional<std::string> path;
    if (name && usableFileName(*name)) path = fileSystemNameFromSjis(*name);
    state.problemFileName = path ? *path : std::string(sjisText(UserText::DefaultProblemFileName));
}

std::optional<std::string> settingsFormOfProblemFileName(std::string_view name) {
    std::optional<std::string> sjis = sjisFromFileSystemName(name);
    if (!sjis || !usableFileName(*sjis)) return std::nullopt;
    return sjis;
}

SaveResult saveSettings(const std::filesystem::path& file, const SharedState& state,
                        SettingsDialogs& dialogs) {
    if (!dialogs.askToSave(sjisText(UserText::SaveSettingsQuestion))) return SaveResult::Declined;
    const std::string_view section = sjisText(UserText::SettingsSection);
    std::vector<ProfileEntry> entries = {
        {sjisText(UserText::SettingsCourseKey), std::to_string(state.courseIndex)},
        {sjisText(UserText::SettingsTimeLimitKey), std::to_string(state.timeLimitIndex)},
        {sjisText(UserText::SettingsSpacingKey), std::to_string(state.spacing)},
        {sjisText(UserText::SettingsCursorColourKey), std::to_string(state.cursorColour)},
        {sjisText(UserText::SettingsLetterCaseKey), std::to_string(state.letterCase)},
        {sjisText(UserText::SettingsRomajiExtendedKey), std::to_string(state.romajiExtended)},
    };
    // The newest key is written only once it means something, so that a save
    // in the default mode leaves an older file as it was.
    const std::string_view methodKey = sjisText(UserText::SettingsInputMethodKey);
    const bool kana = state.inputMethod == InputMethod::Kana;
    if (kana || readProfileString(file, section, methodKey))
        entries.push_back({methodKey, kana ? "1" : "0"});
    if (!writeProfileStrings(file, section, entries)) {
        dialogs.reportNotSaved(sjisText(UserText::SettingsNotSavedMessage));
        return SaveResult::Failed;
    }
    dialogs.confirmSaved(sjisText(UserText::SettingsSavedMessage));
    return SaveResult::Saved;
}

bool writeProblemFileName(const std::filesystem::path& file, std::string_view name) {
    const std::optional<std::string> stored = settingsFormOfProblemFileName(name);
    if (!stored) return false;
    return writeProfileStrings(file, sjisText(UserText::SettingsSection),
                               {{sjisText(UserText::SettingsProblemFileKey), *stored}});
}

}  // namespace hayate
