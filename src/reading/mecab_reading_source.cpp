#include "reading/mecab_reading_source.h"

#include <mecab.h>

#include <cctype>
#include <vector>

#include "reading/kana_reading.h"
#include "text/user_texts.h"

namespace hayate {

namespace {

constexpr const char* kDebianIpadicUtf8 = "/var/lib/mecab/dic/ipadic-utf8";
// Reading (読み) is the eighth field of an IPA dictionary entry.
constexpr std::size_t kReadingField = 7;

std::string_view field(std::string_view feature, std::size_t index) {
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t comma = feature.find(',');
        if (comma == std::string_view::npos) return {};
        feature.remove_prefix(comma + 1);
    }
    return feature.substr(0, feature.find(','));
}

// Through a model: only its creation keeps the reason of a failure for
// mecab_strerror.
mecab_model_t* loadModel(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return ::mecab_model_new(static_cast<int>(arguments.size()), argv.data());
}

bool isUtf8(const char* charset) {
    std::string name;
    for (const char* c = charset; c && *c; ++c)
        if (*c != '-') name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*c))));
    return name == "utf8";
}

// Empty when the tagger reads Japanese the way the readings need: UTF-8 and
// entries with the reading where the IPA dictionary has it.
std::string checkTagger(mecab_model_t* model, mecab_t* tagger) {
    const mecab_dictionary_info_t* info = ::mecab_model_dictionary_info(model);
    if (!info || !isUtf8(info->charset))
        return std::string(utf8Text(UserText::DictionaryNotUtf8)) + "（" +
               (info ? info->charset : "?") + "）";
    const std::string probe = "東京";
    for (const mecab_node_t* n = ::mecab_sparse_tonode2(tagger, probe.data(), probe.size()); n;
         n = n->next) {
        if (n->stat == MECAB_NOR_NODE && field(n->feature, kReadingField) == "トウキョウ") return {};
    }
    return std::string(utf8Text(UserText::DictionaryNotIpa));
}

}  // namespace

MecabReadingSource::Opened MecabReadingSource::open(const std::string& dictionaryFolder) {
    std::vector<std::vector<std::string>> attempts;
    if (dictionaryFolder.empty()) {
        attempts.push_back({"mecab"});
        attempts.push_back({"mecab", "-r", "/dev/null", "-d", kDebianIpadicUtf8});
    } else {
        attempts.push_back({"mecab", "-r", "/dev/null", "-d", dictionaryFolder});
    }
    std::string firstReason;
    for (const auto& arguments : attempts) {
        mecab_model_t* model = loadModel(arguments);
        mecab_t* tagger = model ? ::mecab_model_new_tagger(model) : nullptr;
        std::string reason;
        if (!tagger) {
            const char* error = ::mecab_strerror(nullptr);
            reason = std::string(utf8Text(UserText::DictionaryUnopened)) + (error ? error : "");
        } else {
            reason = checkTagger(model, tagger);
            if (reason.empty())
                return {std::unique_ptr<MecabReadingSource>(new MecabReadingSource(model, tagger)), {}};
            ::mecab_destroy(tagger);
        }
        if (model) ::mecab_model_destroy(model);
        // The system's own setting tells more than the fallback that follows it.
        if (firstReason.empty()) firstReason = reason;
    }
    return {nullptr, firstReason};
}

MecabReadingSource::MecabReadingSource(mecab_model_t* model, mecab_t* tagger)
    : model_(model), tagger_(tagger) {}

MecabReadingSource::~MecabReadingSource() {
    ::mecab_destroy(tagger_);
    ::mecab_model_destroy(model_);
}

ReadingWord MecabReadingSource::word(std::string_view surface, std::string_view feature) {
    ReadingWord w;
    w.surface = converter_.toSjis(surface);
    if (!containsCharacterToRead(surface)) {
        // Kana, digits and symbols are typed as written, whatever the
        // dictionary says: ３つ stays ３つ, は stays は.
        w.reading = w.surface;
        return w;
    }
    const std::string_view reading = field(feature, kReadingField);
    if (!reading.empty() && reading != "*") {
        w.kind = WordReading::Read;
        w.reading = converter_.toSjis(hiraganaOf(reading));
    } else {
        // A word the dictionary does not know: katakana read as written,
        // kanji left for the user to read.
        w.kind = containsKanji(surface) ? WordReading::Unknown : WordReading::Read;
        w.reading = converter_.toSjis(hiraganaOf(surface));
    }
    return w;
}

std::vector<ReadingWord> MecabReadingSource::wordsOfLine(std::string_view line) {
    std::vector<ReadingWord> words;
    auto space = [&](std::string_view s) {
        if (!s.empty()) {
            const std::string sjis = converter_.toSjis(s);
            words.push_back({sjis, sjis, WordReading::AsWritten});
        }
    };
    std::size_t pos = 0;
    const mecab_node_t* node = ::mecab_sparse_tonode2(tagger_, line.data(), line.size());
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
        // rlength counts the white space MeCab skipped in front of the word.
        const std::size_t gap = node->rlength - node->length;
        if (pos + node->rlength > line.size()) break;
        space(line.substr(pos, gap));
        words.push_back(word(line.substr(pos + gap, node->length), node->feature));
        pos += node->rlength;
    }
    if (pos < line.size()) {
        const std::string_view rest = line.substr(pos);
        // Trailing white space, or all of a line MeCab could not take.
        if (rest.find_first_not_of(" \t") == std::string_view::npos) {
            space(rest);
        } else {
            words.push_back(word(rest, {}));
        }
    }
    return words;
}

}  // namespace hayate
