// Every fixed text of the program, in one table written in UTF-8: messages,
// status texts, captions the core shows, the settings file's section and
// keys, default names. The window takes them as written (utf8Text()); the core
// works on Shift-JIS bytes, so sjisText() gives each text in that form,
// converted once; a text that goes into a file comes out byte for byte as
// the files have always held it.
#pragma once

#include <string_view>

namespace hayate {

enum class UserText {
    // The settings file: its section, its keys and the default problem file.
    SettingsSection,
    SettingsCourseKey,
    SettingsTimeLimitKey,
    SettingsSpacingKey,
    SettingsCursorColourKey,
    SettingsLetterCaseKey,
    SettingsProblemFileKey,
    SettingsRomajiExtendedKey,
    SettingsInputMethodKey,
    DefaultProblemFileName,
    // The settings commands.
    SaveSettingsQuestion,
    SettingsSavedMessage,
    SettingsNotSavedMessage,
    UnstorableFileNameMessage,
    SwitchNotSavedMessage,
    // Start-up and the single-instance guard.
    WindowTitle,
    AlreadyRunningCaption,
    AlreadyRunningMessage,
    CannotStartMessage,
    CreateFailedMessage,
    ShowFailedMessage,
    EndQuestion,
    ProblemFileLead,
    RecordFileLead,
    CannotUse,
    UsingDefaultProblemFile,
    CannotSaveRecords,
    CannotWriteRecordsMiddle,
    CannotWriteRecordsEnd,
    ReasonFolderMissing,
    ReasonLinkLoop,
    ReasonNoAccess,
    ReasonFolder,
    ReasonNotRegular,
    ReasonReadOnly,
    ReasonReadOnlyDisk,
    ReasonFolderNotWritable,
    ReasonDiskFull,
    ReasonUnreadable,
    ReasonUnknown,
    // The exercise's labels and status panels.
    NoTimeLimit,
    TimeLimitCaption,
    Seconds,
    PerMinute,
    WithSpaces,
    WithoutSpaces,
    EscToStop,
    // Records: the result dialog, failed stores and the settings' titles.
    NewRecord,
    Finished,
    ConfirmOk,
    BestNotSavedMessage,
    HistoryNotSavedMessage,
    BeatenMeanwhileMessage,
    Setting30sWithSpaces,
    Setting30sWithoutSpaces,
    Setting60sWithSpaces,
    Setting60sWithoutSpaces,
    SettingNoLimitWithSpaces,
    SettingNoLimitWithoutSpaces,
    // Problems and the problem editor.
    DefaultProblemName,
    ProblemStoredMessage,
    ProblemGivesNoTextMessage,
    ProblemUnreadableMessage,
    HintSlotList,
    HintNameField,
    HintGrid,
    NewFileCaption,
    NewFilePrompt,
    FileExists,
    FileCreated,
    FileNotCreated,
    NotProblemFile,
    FileSwitched,
    ConfirmDelete,
    StoreFailed,
    ImportEmpty,
    ImportUnreadable,
    ImportNotText,
    ProblemFileFilter,
    ImportFileFilter,
    // The journal of exercises.
    JournalCorrupt,
    JournalReadOnly,
    JournalFull,
    JournalOpenFailed,
    JournalFolderInTheWay,
    JournalCompanionFolderInTheWay,
    JournalLinkGoesNowhere,
    JournalWriteFailed,
    JournalReadFailed,
    JournalNewer,
    JournalExportFailed,
    JournalExportUnreadable,
    JournalNothingToExport,
    // The input method of the kana courses: the status bar, the hint's caption,
    // the analysis screen's filter.
    RomajiInputStatus,
    KanaInputStatus,
    RomajiHintCaption,
    KanaHintCaption,
    InputMethodCaption,
    AllInputMethods,
    // The import with readings, in UTF-8: why there are none, what was taken.
    ReadingsUnavailable,
    DictionaryNotUtf8,
    DictionaryNotIpa,
    DictionaryUnopened,
    TakenPartLead,
    TakenPartMiddle,
    TakenPartEnd,
    // The window's status bar and options (the letter case names both), the
    // badge of the extended romaji and the buttons of its questions.
    UpperCase,
    LowerCase,
    CursorYellowStatus,
    CursorNoneStatus,
    TodayStatus,
    ExtendedRomajiBadge,
    QuestionYes,
    QuestionNo,
    // The window's messages.
    NoProblemMessage,
    OpenProblemFirstMessage,
    WeakSpotCoursesMessage,
    WeakSpotTooFewMessage,
    HelpFileMissing,
    DeleteCourseRecordsQuestion,
    DeleteAllCourseRecordsQuestion,
    CourseSettingRecordsDeleted,
    AllCourseRecordsDeleted,
    ReadingCheckHint,
    TextPasteHint,
    // The analysis screen and the about box; the window fills in %1, %2, %3.
    AnalysisExerciseCount,
    AnalysisJournalUnavailable,
    AnalysisPointAtKey,
    AnalysisKeyHeading,
    AnalysisKeyNotSeen,
    AnalysisKeyCounts,
    AnalysisKeyMistake,
    AnalysisExported,
    AnalysisNotExported,
    MemoryTotalLine,
    MemoryAvailableLine,
    MemoryLoadLine,
};

inline constexpr int kUserTextCount = static_cast<int>(UserText::MemoryLoadLine) + 1;

// The text as the core uses it: Shift-JIS bytes, alive for the whole run.
std::string_view sjisText(UserText text);
// The same text as written in the table.
std::string_view utf8Text(UserText text);

}  // namespace hayate
