// The program's one reading source, opened when first needed, and the
// notice, given once, that readings are not available and why.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "reading/reading_source.h"

namespace hayate {

struct OpenedReadingSource {
    std::unique_ptr<ReadingSource> source;
    std::string whyNot;  // UTF-8
};

OpenedReadingSource openMecabReadings();

class ReadingService {
  public:
    using Opener = std::function<OpenedReadingSource()>;
    explicit ReadingService(Opener opener = openMecabReadings);

    // Nothing when there is no source: the import then keeps kana only.
    ReadingSource* source();

    // The first time after the source could not be opened: why kanji and
    // katakana were left out (UTF-8, for the window). Empty ever after, and
    // whenever a source is there.
    std::string takeNotice();

  private:
    void openOnce();

    Opener opener_;
    bool opened_ = false;
    bool told_ = false;
    OpenedReadingSource opened_source_;
};

}  // namespace hayate
