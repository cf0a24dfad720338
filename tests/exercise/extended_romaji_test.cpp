// The extended romaji mode: its table against the input methods' own tables,
// and the judge typing every spelling in context, whole random texts, and
// wrong keys.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "exercise/extended_romaji_judge.h"
#include "exercise/romaji_spellings.h"
#include "exercise_fakes.h"

namespace hayate {
namespace {

using test::Harness;
using test::sj;

// Mozc's romaji table (src/data/preedit/romanji-hiragana.tsv, the table of
// IBus and Fcitx 5 Mozc and of Google 日本語入力), entry by entry in its own
// order, without the entries whose kana no cell can hold (ゔ, ゐ, ゑ, ゎ, ヵ,
// ヶ, 〜 and the z-symbols but z/). "kk っ" is its doubling rule: kk gives っ
// and keeps the second k for the next kana.
constexpr const char* kMozc =
    "- ー . 。 , 、 z/ ・ [ 「 ] 」 qq っ vv っ ll っ xx っ kk っ gg っ ss っ zz っ jj っ "
    "tt っ dd っ hh っ ff っ bb っ pp っ mm っ yy っ rr っ wwa っわ wwi っうぃ wwu っう "
    "wwe っうぇ wwo っを wwha っうぁ wwhi っうぃ wwhu っう wwhe っうぇ wwho っうぉ cc っ "
    "kya きゃ kyi きぃ kyu きゅ kye きぇ kyo きょ gya ぎゃ gyi ぎぃ gyu ぎゅ gye ぎぇ gyo ぎょ "
    "sya しゃ syi しぃ syu しゅ sye しぇ syo しょ sha しゃ shi し shu しゅ she しぇ sho しょ "
    "zya じゃ zyi じぃ zyu じゅ zye じぇ zyo じょ tya ちゃ tyi ちぃ tyu ちゅ tye ちぇ tyo ちょ "
    "cha ちゃ chi ち chu ちゅ che ちぇ cho ちょ cya ちゃ cyi ちぃ cyu ちゅ cye ちぇ cyo ちょ "
    "dya ぢゃ dyi ぢぃ dyu ぢゅ dye ぢぇ dyo ぢょ tsa つぁ tsi つぃ tse つぇ tso つぉ tha てゃ "
    "thi てぃ t'i てぃ thu てゅ the てぇ tho てょ t'yu てゅ dha でゃ dhi でぃ d'i でぃ "
    "dhu でゅ dhe でぇ dho でょ d'yu でゅ twa とぁ twi とぃ twu とぅ twe とぇ two とぉ "
    "t'u とぅ dwa どぁ dwi どぃ dwu どぅ dwe どぇ dwo どぉ d'u どぅ nya にゃ nyi にぃ nyu にゅ "
    "nye にぇ nyo にょ hya ひゃ hyi ひぃ hyu ひゅ hye ひぇ hyo ひょ bya びゃ byi びぃ byu びゅ "
    "bye びぇ byo びょ pya ぴゃ pyi ぴぃ pyu ぴゅ pye ぴぇ pyo ぴょ fa ふぁ fi ふぃ fu ふ "
    "fe ふぇ fo ふぉ fya ふゃ fyu ふゅ fyo ふょ hwa ふぁ hwi ふぃ hwe ふぇ hwo ふぉ hwyu ふゅ "
    "mya みゃ myi みぃ myu みゅ mye みぇ myo みょ rya りゃ ryi りぃ ryu りゅ rye りぇ ryo りょ "
    "n' ん nn ん n ん xn ん a あ i い u う wu う e え o お xa ぁ xi ぃ xu ぅ xe ぇ xo ぉ "
    "la ぁ li ぃ lu ぅ le ぇ lo ぉ lyi ぃ xyi ぃ lye ぇ xye ぇ ye いぇ ka か ki き ku く "
    "ke け ko こ ga が gi ぎ gu ぐ ge げ go ご sa さ si し su す se せ so そ ca か ci し "
    "cu く ce せ co こ qa くぁ qi くぃ qu く qe くぇ qo くぉ kwa くぁ kwi くぃ kwe くぇ "
    "kwo くぉ gwa ぐぁ za ざ zi じ zu ず ze ぜ zo ぞ ja じゃ ji じ ju じゅ je じぇ jo じょ "
    "jya じゃ jyi じぃ jyu じゅ jye じぇ jyo じょ ta た ti ち tu つ tsu つ te て to と "
    "da だ di ぢ du づ de で do ど xtu っ xtsu っ ltu っ ltsu っ na な ni に nu ぬ "
    "ne ね no の ha は hi ひ hu ふ fu ふ he へ ho ほ ba ば bi び bu ぶ be べ bo ぼ pa ぱ "
    "pi ぴ pu ぷ pe ぺ po ぽ ma ま mi み mu む me め mo も xya ゃ lya ゃ ya や xyu ゅ "
    "lyu ゅ yu ゆ xyo ょ lyo ょ yo よ ra ら ri り ru る re れ ro ろ wa わ wi うぃ we うぇ "
    "wo を wha うぁ whi うぃ whu う whe うぇ who うぉ";

// What Microsoft IME takes on top of Mozc.
constexpr const char* kMicrosoftIme =
    "yi い qwa くぁ qwi くぃ qyi くぃ qwu くぅ qwe くぇ qye くぇ qwo くぉ "
    "qya くゃ qyu くゅ qyo くょ gwi ぐぃ gwu ぐぅ gwe ぐぇ gwo ぐぉ "
    "swa すぁ swi すぃ swu すぅ swe すぇ swo すぉ "
    "fwa ふぁ fwi ふぃ fyi ふぃ fwu ふぅ fwe ふぇ fye ふぇ fwo ふぉ";

std::vector<std::pair<std::string, std::string>> entries(const char* chart) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream in(chart);
    std::string romaji, kana;
    while (in >> romaji >> kana) out.emplace_back(romaji, kana);
    return out;
}

TEST(RomajiSpellings, HoldsEveryStandardSpellingAndNoneHidesAnother) {
    const CharTables tables = buildCharTables();
    const RomajiSpellings& table = romajiSpellings();
    for (int k = 0; k <= 126; ++k) {
        for (int row = 0; row < CharTables::kRomajiRows; ++row) {
            const std::string& form = tables.romaji(row, k);
            if (form.empty()) continue;
            const std::string* kana = table.kanaFor(form);
            EXPECT_TRUE(kana && *kana == tables.kana(k)) << form;
        }
    }
    // A spelling that starts another would cut the longer one short in the editor.
    for (const auto& [a, ka] : table.all())
        for (const auto& [b, kb] : table.all())
            EXPECT_FALSE(a != b && b.starts_with(a)) << a << " hides " << b;
}

// The judge alone on a grid of kana: `kana` from cell `at`, あ everywhere else.
struct Board {
    static const CharTables& tables() {
        static const CharTables t = buildCharTables();
        return t;
    }
    static const PracticeGrid& allA() {
        static const PracticeGrid g = [] {
            PracticeGrid grid;
            for (int i = 0; i < PracticeGrid::kCells; ++i) grid.place(i, 0, sj("あ"), "a");
            return grid;
        }();
        return g;
    }

    PracticeGrid grid = allA();
    ExtendedRomajiJudge judge{romajiSpellings()};
    int misses = 0;

    Board(const std::vector<std::string>& kana, int at = 0) {
        for (std::size_t i = 0; i < kana.size(); ++i) {
            const std::string s = sj(kana[i]);
            const int k = kanaIndexOf(tables(), s);
            grid.place(at + static_cast<int>(i), k, s, tables().romaji(0, k));
        }
        judge.reset(grid);
    }
    void type(std::string_view keys) {
        for (char c : keys) misses += judge.key(static_cast<unsigned char>(c)).accepted ? 0 : 1;
    }
};

// The kana of a table spelling, as UTF-8 cells.
std::vector<std::string> cellsOf(const std::string& sjisKana) {
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < sjisKana.size(); i += 2)
        cells.push_back(test::utf8(sjisKana.substr(i, 2)));
    return cells;
}

// Every entry of both tables typed inside a text, and nothing in the
// trainer's table that neither has. (The editor takes the trainer's table:
// ExtendedRomajiComposer.)
TEST(ExtendedRomajiJudge, TakesEveryEntryOfMozcAndMicrosoftIme) {
    auto check = [](const std::vector<std::string>& cells, const std::string& keys) {
        Board b(cells, 1);
        b.type("a" + keys + "a");
        EXPECT_EQ(b.misses, 0) << keys;
        EXPECT_EQ(b.judge.cell(), static_cast<int>(cells.size()) + 2) << keys;
    };
    std::set<std::string> listed;
    for (const char* chart : {kMozc, kMicrosoftIme}) {
        for (const auto& [romaji, kana] : entries(chart)) {
            listed.insert(romaji);
            if (romaji == "n") continue;  // only before a consonant: NBeforeEachKindOfKana...
            if (kana != "っ" || romaji.size() != 2 || romaji[0] != romaji[1]) {
                check(cellsOf(sj(kana)), romaji);
                continue;
            }
            // The doubling rule, before every spelling that starts with the letter.
            for (const auto& [next, nextKana] : romajiSpellings().all()) {
                if (next[0] != romaji[0]) continue;
                std::vector<std::string> cells = cellsOf(nextKana);
                cells.insert(cells.begin(), "っ");
                check(cells, romaji.substr(0, 1) + next);
            }
        }
    }
    for (const auto& [romaji, kana] : romajiSpellings().all())
        EXPECT_TRUE(listed.count(romaji)) << romaji << " is in neither input method's table";
}

TEST(ExtendedRomajiJudge, EverySpellingInTheMiddleAndAtTheEnd) {
    for (const auto& [romaji, kana] : romajiSpellings().all()) {
        const std::vector<std::string> cells = cellsOf(kana);
        const int n = static_cast<int>(cells.size());
        Board middle(cells, 1);
        middle.type("a" + romaji + "a");
        EXPECT_EQ(middle.misses, 0) << romaji;
        EXPECT_EQ(middle.judge.cell(), n + 2) << romaji;

        Board end(cells, PracticeGrid::kCells - n);
        end.type(std::string(static_cast<std::size_t>(PracticeGrid::kCells - n), 'a'));
        const std::size_t last = romaji.size() - 1;
        end.type(romaji.substr(0, last));
        EXPECT_EQ(end.judge.cell(), PracticeGrid::kCells - n) << romaji;
        const ExtendedRomajiJudge::Step step =
            end.judge.key(static_cast<unsigned char>(romaji[last]));
        EXPECT_TRUE(step.finished && step.completed == n) << romaji;
        EXPECT_EQ(end.misses, 0) << romaji;
    }
}

TEST(ExtendedRomajiJudge, SpellingsAcrossCellsAndTheHint) {
    struct Case {
        std::vector<std::string> cells;
        std::string keys;
        int cell;          // after the keys
        std::string hint;  // then shown
        int misses;
    };
    const Case cases[] = {
        {{"ち", "ゃ"}, "c", 0, "chi", 0},    {{"ち", "ゃ"}, "cha", 2, "a", 0},
        {{"ち", "ゃ"}, "chixya", 2, "a", 0}, {{"い", "ぇ"}, "ye", 2, "a", 0},
        {{"ふ", "ぁ"}, "fa", 2, "a", 0},     {{"う", "ぃ"}, "wi", 2, "a", 0},
        {{"う", "ぇ"}, "we", 2, "a", 0},     {{"し", "ゃ"}, "sh", 0, "shi", 0},
        {{"て", "ぃ"}, "th", 0, "thi", 0},   {{"く"}, "q", 0, "qu", 0},
        {{"っ", "か"}, "", 0, "k", 0},       {{"ん", "か"}, "n", 0, "nn", 0},
        {{"ち", "ゃ"}, "chyu", 0, "chi", 2},  // y and u fit nothing after "ch"
    };
    for (const Case& c : cases) {
        Board b(c.cells);
        b.type(c.keys);
        EXPECT_EQ(b.judge.cell(), c.cell) << c.keys;
        EXPECT_EQ(b.judge.hint(), c.hint) << c.keys;
        EXPECT_EQ(b.misses, c.misses) << c.keys;
    }
}

TEST(ExtendedRomajiJudge, NBeforeEachKindOfKanaAndAtTheEnd) {
    struct Case {
        std::string next;  // the kana after ん; empty: ん is the last cell
        std::string keys;
        int misses;
    };
    const Case cases[] = {
        {"か", "nka", 0}, {"さ", "nsa", 0},  {"ち", "nchi", 0}, {"っ", "nltu", 0}, {"ん", "nxn", 0},
        {"あ", "na", 1},  {"い", "ni", 1},   {"う", "nu", 1},   {"え", "ne", 1},   {"お", "no", 1},
        {"や", "nya", 2}, {"な", "nna", 1},  {"、", "n,", 0},   {"ー", "n-", 0},   {"・", "nz/", 0},
        {"あ", "nna", 0}, {"や", "n'ya", 0}, {"な", "nnna", 0}, {"な", "xnna", 0},
    };
    for (const Case& c : cases) {
        Board b({"ん", c.next});
        b.type(c.keys);
        EXPECT_EQ(b.misses, c.misses) << c.next << " " << c.keys;
        if (c.misses == 0) {
            EXPECT_EQ(b.judge.cell(), 2) << c.next << " " << c.keys;
        }
    }
    Board last({"ん"}, PracticeGrid::kCells - 1);
    last.type(std::string(PracticeGrid::kCells - 1, 'a') + "n");
    EXPECT_EQ(last.judge.cell(), PracticeGrid::kCells - 1) << "a single n does not end the text";
    EXPECT_TRUE(last.judge.key('\'').finished);
}

TEST(ExtendedRomajiJudge, SmallTsuBeforeEachConsonantInUpperCase) {
    int checked = 0;
    for (const auto& [romaji, kana] : romajiSpellings().all()) {
        const char first = romaji[0];
        if (std::string_view("aiueon").find(first) != std::string_view::npos) continue;
        std::vector<std::string> cells = cellsOf(kana);
        cells.insert(cells.begin(), "っ");
        // Lower case is typed with the input methods' tables above.
        std::string keys = std::string(1, first) + romaji;
        for (char& c : keys) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        Board b(cells);
        b.type(keys);
        EXPECT_EQ(b.misses, 0) << keys;
        EXPECT_EQ(b.judge.cell(), static_cast<int>(cells.size())) << keys;
        ++checked;
    }
    EXPECT_GT(checked, 150);
    for (const char* vowelOrN : {"あ", "な"}) {
        Board b({"っ", vowelOrN});
        b.type(std::string(vowelOrN) == "あ" ? "a" : "n");
        EXPECT_EQ(b.misses, 1) << vowelOrN;
    }
    Board run({"っ", "っ", "か"});
    run.type("KKKA");
    EXPECT_EQ(run.misses, 0);
    EXPECT_EQ(run.judge.cell(), 3);
}

// A random text of the romaji course and of kana problems, and a random valid
// way of typing it, chosen stretch by stretch without the judge's help.
struct RandomTyping {
    std::vector<std::string> cells;  // UTF-8
    std::string keys;
};

RandomTyping randomTyping(std::mt19937& rng, const CharTables& tables, bool course) {
    const RomajiSpellings& table = romajiSpellings();
    auto below = [&rng](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    std::vector<int> text;
    while (text.size() < static_cast<std::size_t>(PracticeGrid::kCells)) {
        int k = static_cast<int>(below(course ? 71 : 80));
        if (!course && below(10) == 0) k = 127 + static_cast<int>(below(47));
        text.push_back(k);
    }
    struct Stretch {
        int at;
        std::string spelling;
    };
    std::vector<Stretch> stretches;
    for (int i = 0; i < PracticeGrid::kCells;) {
        auto pair = i + 1 < PracticeGrid::kCells ? table.pair(text[i], text[i + 1])
                                                 : std::span<const std::string>();
        if (!pair.empty() && below(2) == 0) {
            stretches.push_back({i, pair[below(pair.size())]});
            i += 2;
        } else {
            auto single = table.single(text[i]);
            stretches.push_back({i, single[below(single.size())]});
            i += 1;
        }
    }
    // From the back, so that each stretch knows how the next one is typed.
    for (std::size_t s = stretches.size(); s-- > 1;) {
        const int k = text[stretches[s - 1].at];
        const char next = stretches[s].spelling[0];
        const bool consonant =
            std::string_view("bcdfghjklmpqrstvwxz").find(next) != std::string_view::npos;
        if (k == RomajiSpellings::kSmallTsu && consonant && below(2) == 0)
            stretches[s - 1].spelling = std::string(1, next);
        if (k == RomajiSpellings::kN && consonant && below(2) == 0) stretches[s - 1].spelling = "n";
    }
    RandomTyping t;
    for (int k : text) t.cells.push_back(test::utf8(tables.kana(k)));
    for (const Stretch& s : stretches) t.keys += s.spelling;
    return t;
}

// Each text is typed to its end with one wrong key somewhere: that key is one
// miss and changes nothing else, and the rest finishes without a miss.
TEST(ExtendedRomajiJudge, RandomTextsTypedAnyValidWayWithOneWrongKey) {
    std::mt19937 rng(13);
    Harness h;
    h.shared.romajiExtended = 1;
    for (int round = 0; round < 8; ++round) {
        const RandomTyping t = randomTyping(rng, h.tables, round % 2 == 0);
        const std::size_t at =
            std::uniform_int_distribution<std::size_t>(0, t.keys.size() - 1)(rng);
        h.completion.calls.clear();
        h.startProblem(t.cells, true);
        h.type(t.keys.substr(0, at));
        const int position = h.position();
        const int keystrokes = h.keystrokes();
        const std::string hint = h.session.matcher().expectedRomaji();
        h.key(round % 2 ? 'V' : 'v');  // no spelling holds a v
        EXPECT_EQ(h.misses(), 1) << round;
        EXPECT_EQ(h.position(), position) << round;
        EXPECT_EQ(h.keystrokes(), keystrokes) << round;
        EXPECT_EQ(h.session.matcher().expectedRomaji(), hint) << round;
        EXPECT_EQ(h.cell(position).colour, colour::kRed) << round;
        h.type(t.keys.substr(at));
        ASSERT_EQ(h.completion.calls.size(), 1u)
            << "round " << round << " stopped at " << h.position();
        EXPECT_EQ(h.completion.calls[0].charactersTyped, PracticeGrid::kCells);
        EXPECT_EQ(h.completion.calls[0].keystrokeCount, static_cast<int>(t.keys.size()));
        EXPECT_EQ(h.misses(), 1) << round;
    }
}

TEST(ExtendedRomajiJudge, CountsAndHintThroughTheSession) {
    Harness h;
    h.shared.romajiExtended = 1;
    h.startProblem({"ち", "ゃ", "ふ", "ぁ", "っ", "ん", "し", "ぇ"}, true);
    EXPECT_EQ(h.label(Label::RomajiHint1).text, "t");
    h.type("c");
    EXPECT_EQ(h.label(Label::RomajiHint1).text + h.label(Label::RomajiHint2).text +
                  h.label(Label::RomajiHintRest).text,
              "chi");
    EXPECT_TRUE(h.label(Label::RomajiHint1).underline);
    h.type("hafaxtsun'she");
    EXPECT_EQ(h.chars(), 8);
    EXPECT_EQ(h.keystrokes(), 14);
    EXPECT_EQ(h.misses(), 0);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(h.cell(i).colour, colour::kBlue) << i;

    Harness standard;
    standard.startProblem({"ち", "ゃ"}, true);
    standard.type("cha");
    EXPECT_EQ(standard.misses(), 1) << "the standard judge stays as it was";
}

TEST(ExtendedRomajiJudge, CaptureFilesKeysAndMissesUnderTheirCells) {
    struct Case {
        std::vector<std::string> text;
        std::string keys;
        // Per completed cell: the keys it took, then the misses on it.
        std::vector<std::pair<std::string, std::string>> cells;
        std::string expectedAtMisses;
    } cases[] = {
        {{"ち", "ゃ", "ふ", "ぁ", "っ", "ん", "し", "ぇ"},
         "chafaxtsun'she",
         {{"c", ""},
          {"ha", ""},
          {"f", ""},
          {"a", ""},
          {"xtsu", ""},
          {"n'", ""},
          {"s", ""},
          {"he", ""}},
         ""},
        // A single n and a doubled consonant are done by the next cell's key.
        {{"か", "ん", "か", "っ", "た"},
         "kqankatzta",
         {{"ka", "q"}, {"n", ""}, {"ka", ""}, {"t", ""}, {"ta", "z"}},
         "at"},
        {{"し", "ゃ", "き"}, "sxyakji", {{"s", "x"}, {"ya", ""}, {"ki", "j"}}, "ii"},
    };
    for (const Case& c : cases) {
        Harness h;
        h.shared.romajiExtended = 1;
        h.startProblem(c.text, true);
        h.type(c.keys);
        const ExerciseCapture& capture = h.session.matcher().capture();
        const auto& cells = capture.cells();
        ASSERT_GE(cells.size(), c.cells.size() - 1) << c.keys;
        std::string typed, wrong, expected;
        int misses = 0;
        for (std::size_t i = 0; i < c.cells.size(); ++i) {
            const CapturedCell& got = i < cells.size() ? cells[i] : capture.pending();
            EXPECT_EQ(got.typed, c.cells[i].first) << c.keys << " cell " << i;
            EXPECT_EQ(got.wrongKeys, c.cells[i].second) << c.keys << " cell " << i;
            typed += got.typed;
            wrong += got.wrongKeys;
            expected += got.expectedKeys;
            misses += static_cast<int>(got.wrongKeys.size());
        }
        EXPECT_EQ(misses, h.misses()) << c.keys;
        EXPECT_EQ(expected, c.expectedAtMisses) << c.keys;
        std::string accepted;
        for (char k : c.keys) {
            if (wrong.find(k) == std::string::npos) accepted += k;
        }
        EXPECT_EQ(typed, accepted) << c.keys;
    }
}

}  // namespace
}  // namespace hayate
