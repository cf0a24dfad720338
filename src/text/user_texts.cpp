#include "text/user_texts.h"

#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/file_names.h"

namespace hayate {

namespace {

struct Entry {
    UserText id;
    std::string_view utf8;
};

// CR LF line breaks, as the program's messages have always had them.
constexpr Entry kTable[] = {
    {UserText::SettingsSection, "Init"},
    {UserText::SettingsCourseKey, "コース"},
    {UserText::SettingsTimeLimitKey, "制限時間"},
    {UserText::SettingsSpacingKey, "空白有無"},
    {UserText::SettingsCursorColourKey, "入力カーソル色"},
    {UserText::SettingsLetterCaseKey, "英大文字小文字"},
    {UserText::SettingsProblemFileKey, "問題ファイル名"},
    {UserText::SettingsRomajiExtendedKey, "ローマ字拡張"},
    {UserText::SettingsInputMethodKey, "入力方式"},
    {UserText::DefaultProblemFileName, "Kbdojo.USR"},
    {UserText::SaveSettingsQuestion, "現在の制限時間等の設定を保存しますか"},
    {UserText::SettingsSavedMessage,
     "現在の設定を保存しました\r\n\r\n次回の起動時に今回の設定が反映されます"},
    {UserText::SettingsNotSavedMessage,
     "現在の設定を保存できませんでした\r\n次回の起動時には前回保存した設定が使われます"},
    {UserText::UnstorableFileNameMessage,
     "このファイルは問題ファイルにできません\r\nファイル名かフォルダ名が長すぎるか、使えない文字を"
     "含んでいます"},
    {UserText::SwitchNotSavedMessage,
     "問題ファイルを変更しました\r\n設定ファイルに書き込めないため、次回の起動時は元の問題ファイル"
     "に戻ります"},
    {UserText::WindowTitle, "ハヤテウチ"},
    {UserText::AlreadyRunningCaption, "二重起動"},
    {UserText::AlreadyRunningMessage, "既に起動中です\r\nこのプログラムの二重起動はできません"},
    {UserText::CannotStartMessage, "プログラムを起動できません"},
    {UserText::CreateFailedMessage, "FormCreateに失敗しました\r\nプログラムを終了します"},
    {UserText::ShowFailedMessage, "画面の表示に失敗しました\r\nプログラムを終了します"},
    {UserText::EndQuestion, "終了しますか"},
    {UserText::ProblemFileLead, "問題ファイル「"},
    {UserText::RecordFileLead, "記録ファイル「"},
    {UserText::CannotUse, "」を使えません"},
    {UserText::UsingDefaultProblemFile, "今回は Kbdojo.USR を使います"},
    {UserText::CannotSaveRecords, "ディスクの空きが足りないため、練習の記録を保存できません"},
    {UserText::CannotWriteRecordsMiddle, "」に書き込めないため、\r\n記録は "},
    {UserText::CannotWriteRecordsEnd, " に保存します"},
    {UserText::ReasonFolderMissing, "フォルダが見つかりません"},
    {UserText::ReasonLinkLoop, "シンボリックリンクが循環しています"},
    {UserText::ReasonNoAccess, "アクセスが許可されていません"},
    {UserText::ReasonFolder, "ファイルではなくフォルダです"},
    {UserText::ReasonNotRegular, "通常のファイルではありません"},
    {UserText::ReasonReadOnly, "読み取り専用です"},
    {UserText::ReasonReadOnlyDisk, "読み取り専用のディスクにあります"},
    {UserText::ReasonFolderNotWritable, "フォルダに書き込めません"},
    {UserText::ReasonDiskFull, "ディスクの空きが足りません"},
    {UserText::ReasonUnreadable, "読み込めません"},
    {UserText::ReasonUnknown, "読み書きできません"},
    {UserText::NoTimeLimit, "なし"},
    {UserText::TimeLimitCaption, "制限時間"},
    {UserText::Seconds, "秒"},
    {UserText::PerMinute, "／分"},
    {UserText::WithSpaces, "空白有り"},
    {UserText::WithoutSpaces, "空白無し"},
    {UserText::EscToStop, "【ＥＳＣ】で中止"},
    {UserText::NewRecord, "記録更新です"},
    {UserText::Finished, "終了しました"},
    {UserText::ConfirmOk, "確認ＯＫですか"},
    {UserText::BestNotSavedMessage, "記録の保存に失敗しました\r\n今回の記録は保存されていません"},
    {UserText::HistoryNotSavedMessage, "履歴の保存に失敗しました\r\n最高記録は保存されています"},
    {UserText::BeatenMeanwhileMessage,
     "記録は更新されませんでした\r\nより高い記録が別のウィンドウで保存されています"},
    {UserText::Setting30sWithSpaces, "３０秒空白有り"},
    {UserText::Setting30sWithoutSpaces, "３０秒空白無し"},
    {UserText::Setting60sWithSpaces, "６０秒空白有り"},
    {UserText::Setting60sWithoutSpaces, "６０秒空白無し"},
    {UserText::SettingNoLimitWithSpaces, "無制限空白有り"},
    {UserText::SettingNoLimitWithoutSpaces, "無制限空白無し"},
    {UserText::DefaultProblemName, "ユーザー"},
    {UserText::ProblemStoredMessage, "問題を登録しました"},
    {UserText::ProblemGivesNoTextMessage, "問題に練習できる文字がありません"},
    {UserText::ProblemUnreadableMessage, "問題を読み込めません"},
    {UserText::HintSlotList, "【Ｅｎｔｅｒ】で問題名入力へ、【ＥＳＣ】で中止"},
    {UserText::HintNameField, "【Ｅｎｔｅｒ】で問題入力へ、【ＥＳＣ】で中止"},
    {UserText::HintGrid, "【Ｆ１０】で登録、【ＥＳＣ】で中止"},
    {UserText::NewFileCaption, "問題ファイルの新規作成"},
    {UserText::NewFilePrompt, "新規作成の問題ファイル名を入力してください"},
    {UserText::FileExists, "ファイルが存在します"},
    {UserText::FileCreated, "問題ファイルを作成しました"},
    {UserText::FileNotCreated,
     "問題ファイルを作成できませんでした\r\nディスクの空きと書き込みの許可を確認してください"},
    {UserText::NotProblemFile, "問題用のファイルではありません"},
    {UserText::FileSwitched, "問題ファイルを変更しました"},
    {UserText::ConfirmDelete, "今の問題を削除しますか"},
    {UserText::StoreFailed, "問題を登録できませんでした\r\n入力した問題は消えずに残っています"},
    {UserText::ImportEmpty, "テキストファイルが空です"},
    {UserText::ImportUnreadable, "ファイルを読み込めませんでした\r\n入力中の問題はそのままです"},
    {UserText::ImportNotText, "テキストファイルではありません\r\n入力中の問題はそのままです"},
    {UserText::ProblemFileFilter, "*.USR|*.USR|*.*|*.*"},
    {UserText::ImportFileFilter, "*.TXT|*.TXT|*.*|*.*"},
    {UserText::JournalCorrupt, "練習記録が壊れていたので別名で残し、新しく始めました"},
    {UserText::JournalReadOnly, "練習記録を書き込めません（読み取り専用です）"},
    {UserText::JournalFull, "練習記録を書き込めません（ディスクがいっぱいです）"},
    {UserText::JournalOpenFailed, "練習記録を開けません"},
    {UserText::JournalFolderInTheWay, "練習記録を開けません（同じ名前のフォルダがあります）"},
    {UserText::JournalCompanionFolderInTheWay,
     "練習記録を開けません（-wal か -shm の名前のフォルダがあります）"},
    {UserText::JournalLinkGoesNowhere, "練習記録を開けません（リンク先がありません）"},
    {UserText::JournalWriteFailed, "練習記録を書き込めません"},
    {UserText::JournalReadFailed, "練習記録を読み出せません"},
    {UserText::JournalNewer, "練習記録が新しい版のもので、この版では使えません"},
    {UserText::JournalExportFailed, "ＣＳＶファイルを書き込めません"},
    {UserText::JournalExportUnreadable, "練習記録を読み出せないため、書き出せませんでした"},
    {UserText::JournalNothingToExport, "書き出す練習記録がありません"},
    {UserText::RomajiInputStatus, "ローマ字入力"},
    {UserText::KanaInputStatus, "かな入力"},
    {UserText::RomajiHintCaption, "ローマ字＝"},
    {UserText::KanaHintCaption, "キー＝"},
    {UserText::InputMethodCaption, "入力方式"},
    {UserText::AllInputMethods, "すべて"},
    // From here on LF alone breaks lines, as Qt shows them.
    {UserText::ReadingsUnavailable,
     "漢字とカタカナは読みがなにできないため、取り込みませんでした。\n"
     "読みがなで取り込むには MeCab の辞書 mecab-ipadic-utf8 をインストールしてください。\n"},
    {UserText::DictionaryNotUtf8, "MeCab の辞書が UTF-8 ではありません"},
    {UserText::DictionaryNotIpa, "MeCab の辞書が IPA 辞書ではありません"},
    {UserText::DictionaryUnopened, "MeCab の辞書を開けません: "},
    {UserText::TakenPartLead, "問題の文字数の上限に達したため、テキスト全 "},
    {UserText::TakenPartMiddle, " 文字のうち先頭の "},
    {UserText::TakenPartEnd, " 文字を取り込みました。"},
    {UserText::UpperCase, "英大文字"},
    {UserText::LowerCase, "英小文字"},
    {UserText::CursorYellowStatus, "入力カーソル 黄色"},
    {UserText::CursorNoneStatus, "入力カーソル 無色"},
    {UserText::TodayStatus, "今日の日付 %1/%2/%3 "},
    {UserText::ExtendedRomajiBadge, "ローマ字 拡張"},
    {UserText::QuestionYes, "はい(&Y)"},
    {UserText::QuestionNo, "いいえ(&N)"},
    {UserText::NoProblemMessage, "問題が作成されていません"},
    {UserText::OpenProblemFirstMessage,
     "問題番号を選んで問題を開いてから、もう一度「テキストから作成」を選んでください"},
    {UserText::WeakSpotCoursesMessage,
     "弱点練習は、アルファベット・数字・ローマ字・キータッチのコースで行えます"},
    {UserText::WeakSpotTooFewMessage, "弱点練習には、このコースの練習記録が３回分以上必要です"},
    {UserText::HelpFileMissing, "ヘルプファイルが見つかりません。"},
    {UserText::DeleteCourseRecordsQuestion, "現在のコースの成績を削除しますか"},
    {UserText::DeleteAllCourseRecordsQuestion, "現在のコースの全ての成績を削除しますか"},
    {UserText::CourseSettingRecordsDeleted, "現在のコースの現在の設定の成績を削除しました"},
    {UserText::AllCourseRecordsDeleted, "現在のコースの全ての成績を削除しました"},
    {UserText::ReadingCheckHint,
     "漢字とカタカナの読みを確かめてください。読みはダブルクリックで直せます。\n"
     "色の付いた行は読みが見つからなかった語で、そのままでは取り込まれません。"},
    {UserText::TextPasteHint,
     "練習する文章を貼り付けてください。漢字とカタカナは読みがなになります。"},
    {UserText::AnalysisExerciseCount, "練習 %1 回"},
    {UserText::AnalysisJournalUnavailable, "記録帳を開けません"},
    {UserText::AnalysisPointAtKey, "キーを指すと、そのキーのミスの内訳を示します"},
    {UserText::AnalysisKeyHeading, "キー %1\n"},
    {UserText::AnalysisKeyNotSeen, "この期間には出てきません"},
    {UserText::AnalysisKeyCounts, "正しく押した回数 %1、ミス %2（ミス率 %3%）\n"},
    {UserText::AnalysisKeyMistake, "\n「%1」で %2 を打った：%3 回"},
    {UserText::AnalysisExported, "書き出しました：%1"},
    {UserText::AnalysisNotExported, "書き出せませんでした"},
    {UserText::MemoryTotalLine, "物理ﾒﾓﾘ     :%1 KB"},
    {UserText::MemoryAvailableLine, "空き物理ﾒﾓﾘ :%1 KB"},
    {UserText::MemoryLoadLine, "ﾒﾓﾘ利用率   :%1 %"},
};

constexpr std::size_t kCount = kUserTextCount;
static_assert(std::size(kTable) == kCount);

constexpr bool inEnumOrder() {
    for (std::size_t i = 0; i < kCount; ++i)
        if (static_cast<std::size_t>(kTable[i].id) != i) return false;
    return true;
}
static_assert(inEnumOrder(), "the table lists the texts in the order of UserText");

const std::array<std::string, kCount>& sjisTable() {
    static const std::array<std::string, kCount> table = [] {
        std::array<std::string, kCount> converted;
        for (std::size_t i = 0; i < kCount; ++i) {
            std::optional<std::string> sjis = sjisFromUtf8(kTable[i].utf8);
            if (!sjis) throw std::logic_error("a user text that Shift-JIS cannot hold");
            converted[i] = std::move(*sjis);
        }
        return converted;
    }();
    return table;
}

}  // namespace

std::string_view sjisText(UserText text) { return sjisTable()[static_cast<std::size_t>(text)]; }

std::string_view utf8Text(UserText text) { return kTable[static_cast<std::size_t>(text)].utf8; }

}  // namespace hayate
