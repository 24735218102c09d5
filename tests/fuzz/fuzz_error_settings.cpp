// Arbitrary bytes as Data/erp.dat: the reading never leaves a reply time outside its
// range, and a file that reads completely writes back the lines it was read from.

#include "settings/error_settings_file.h"
#include "settings_fuzz_support.h"
#include "state/common_datas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    fuzz::WriteSettingsFile("erp.dat", data, size);
    TCommonDatas datas;
    int reports = 0;
    TErrorSettingsFile file(datas, [&](const std::string&) { ++reports; });
    file.LoadErrorSettings();
    fuzz::Check(reports <= 2);
    fuzz::Check(datas.ReplyTimeout >= TErrorSettingsFile::MinReplyTimeout &&
                datas.ReplyTimeout <= TErrorSettingsFile::MaxReplyTimeout);
    TErrorSettings values = TErrorSettings::Of(datas);
    TErrorSettings again;
    fuzz::Check(TErrorSettingsFile::Read(TErrorSettingsFile::Lines(values), again));
    fuzz::Check(TErrorSettingsFile::Lines(again) == TErrorSettingsFile::Lines(values));
    return 0;
}
