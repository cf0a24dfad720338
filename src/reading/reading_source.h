// Readings of Japanese text: which words a text is made of and how each is
// read, in hiragana, so that text written with kanji and katakana can be
// typed as romaji.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hayate {

enum class WordReading {
    AsWritten,  // nothing to read: kana, digits, letters, symbols, spaces
    Read,       // kanji or katakana, with the reading found for them
    Unknown,    // kanji for which no reading was found; the reading is the word itself
};

// Both texts are Shift-JIS. A character Shift-JIS has no code for is 〓.
struct ReadingWord {
    std::string surface;
    std::string reading;
    WordReading kind = WordReading::AsWritten;

    bool operator==(const ReadingWord&) const = default;
};

class ReadingSource {
  public:
    virtual ~ReadingSource() = default;

    // The words of one line of UTF-8 text without its line end. Joining
    // their surfaces gives the line back, spaces included.
    virtual std::vector<ReadingWord> wordsOfLine(std::string_view utf8Line) = 0;
};

}  // namespace hayate
