// Readings from MeCab with its IPA dictionary in UTF-8, the dictionary
// Debian ships as mecab-ipadic-utf8.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sjis_converter.h"
#include "reading/reading_source.h"

struct mecab_t;
struct mecab_model_t;

namespace hayate {

class MecabReadingSource final : public ReadingSource {
  public:
    struct Opened {
        std::unique_ptr<MecabReadingSource> source;
        std::string whyNot;  // UTF-8, when there is no source
    };
    // The system's dictionary (mecabrc) when it is a UTF-8 IPA dictionary,
    // else Debian's mecab-ipadic-utf8 directly; with `dictionaryFolder`
    // that folder only.
    static Opened open(const std::string& dictionaryFolder = {});

    ~MecabReadingSource() override;
    std::vector<ReadingWord> wordsOfLine(std::string_view utf8Line) override;

  private:
    MecabReadingSource(mecab_model_t* model, mecab_t* tagger);
    ReadingWord word(std::string_view surface, std::string_view feature);

    mecab_model_t* model_;
    mecab_t* tagger_;
    SjisConverter converter_;
};

}  // namespace hayate
