#include "reading/reading_service.h"

#include <utility>

#include "reading/mecab_reading_source.h"
#include "text/user_texts.h"

namespace hayate {

OpenedReadingSource openMecabReadings() {
    MecabReadingSource::Opened opened = MecabReadingSource::open();
    return {std::move(opened.source), std::move(opened.whyNot)};
}

ReadingService::ReadingService(Opener opener) : opener_(std::move(opener)) {}

void ReadingService::openOnce() {
    if (opened_) return;
    opened_ = true;
    opened_source_ = opener_();
}

ReadingSource* ReadingService::source() {
    openOnce();
    return opened_source_.source.get();
}

std::string ReadingService::takeNotice() {
    openOnce();
    if (opened_source_.source || told_) return {};
    told_ = true;
    return std::string(utf8Text(UserText::ReadingsUnavailable)) + "（" + opened_source_.whyNot +
           "）";
}

}  // namespace hayate
