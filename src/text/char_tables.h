// The trainer's character vocabulary: full-width forms, voiced and
// semi-voiced katakana, the kana of the romaji courses and their romaji.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace hayate {

class CharTables;
CharTables buildCharTables();

class CharTables {
  public:
    static constexpr int kLastKanaIndex = 173;
    static constexpr int kKanaSlots = 181;
    static constexpr int kRomajiRows = 3;
    static constexpr int kSpaceKanaIndex = 150;  // the full-width space

    // Forms of "[" and "]": the corner brackets 「」 while kana are practised
    // or edited, the square brackets ［］ otherwise.
    enum class Brackets { Corner, Square };

    const std::string& fullWidth(unsigned char b) const { return fullWidth_[b]; }
    const std::string& voiced(unsigned char b) const { return voiced_[b]; }
    const std::string& semiVoiced(unsigned char b) const { return semiVoiced_[b]; }
    // Out-of-range indexes read as empty entries.
    const std::string& kana(int index) const;
    const std::string& romaji(int row, int index) const;

    // The slots of "[" and "]" are the only part of the tables that changes
    // after start-up; every exercise start and the editor set them.
    void setBrackets(Brackets forms);
    Brackets brackets() const { return brackets_; }

    // Half-width form of the two-byte character `code` (lead byte << 8 | trail
    // byte) as the lowest full-width, voiced or semi-voiced slot gives it, or
    // null when no slot holds the character.
    const std::string* halfWidthOf(std::uint16_t code) const;

  private:
    friend CharTables buildCharTables();
    CharTables() = default;

    std::array<std::string, 256> fullWidth_;
    std::array<std::string, 256> voiced_;
    std::array<std::string, 256> semiVoiced_;
    std::array<std::string, kKanaSlots> kana_;
    std::array<std::array<std::string, kKanaSlots>, kRomajiRows> romaji_;
    Brackets brackets_ = Brackets::Corner;

    // Reverse index of the slots, so that a conversion does not scan 768
    // slots per character; rebuilt whenever a slot changes.
    void rebuildHalfWidthIndex();
    std::unordered_map<std::uint16_t, std::string> halfWidthIndex_;
};

}  // namespace hayate
