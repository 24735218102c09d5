// Arbitrary bytes as Data/erp.dat: the reading never leaves a reply time outside its
// range, and what it read writes back to lines that read the same.

#include "fuzz_support.h"
#include "settings/error_settings_file.h"
#include "state/common_datas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    TCommonDatas datas;
    int reports = 0;
    TErrorSettingsFile file(datas, [&](const std::string&) { ++reports; });
    file.ApplyLines(SettingsLines(fuzz::Unscrambled(data, size)));
    fuzz::Check(reports <= 1);
    fuzz::Check(datas.ReplyTimeout >= TErrorSettingsFile::MinReplyTimeout &&
                datas.ReplyTimeout <= TErrorSettingsFile::MaxReplyTimeout);
    TErrorSettings values = TErrorSettings::Of(datas);
    TErrorSettings again;
    fuzz::Check(TErrorSettingsFile::Read(TErrorSettingsFile::Lines(values), again));
    fuzz::Check(TErrorSettingsFile::Lines(again) == TErrorSettingsFile::Lines(values));
    return 0;
}
