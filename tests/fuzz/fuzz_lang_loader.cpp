// Feeds arbitrary bytes as a language file (a section or the language list) and checks
// that the tables keep their shape: entry 0 names the section, no table shrinks, no
// entry is longer than a line may be.
// libFuzzer flags: -detect_leaks=0
// (the controller kept across inputs holds what they leave, which is no leak)

#include "controller/language_switch.h"
#include "fuzz_support.h"
#include "state/text_file.h"

namespace {

std::size_t Characters(const std::string& text) {
    if (text.size() <= zav::MaxLineLength)
        return text.size(); // at least as many bytes as characters: no need to count
    std::size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zav::fuzz::Check;
    if (size == 0)
        return 0;
    zav::TController& controller = zav::fuzz::Controller();
    zav::TLang& lang = controller.Lang();
    static const auto formTexts = lang.FormTexts;
    static const auto messages = lang.Messages;
    const auto lines =
        zav::LanguageTextLines(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    switch (data[0] % 4) {
    case 0:
        lang.ReadSection("f1", lines, lang.FormTexts, true);
        lang.TranslateMainForm();
        Check(lang.FormTexts[0] == "f1");
        break;
    case 1:
        lang.ReadSection("addf", lines, lang.FormTexts, true);
        Check(lang.FormTexts[0] == "addf");
        break;
    case 2:
        lang.ReadSection("msg", lines, lang.Messages, false);
        controller.Commands().BuildCatalogue();
        break;
    default:
        for (const auto& name : zav::TLanguageSwitch::LanguageNames(lines))
            Check(!name.empty() && Characters(name) <= zav::MaxLineLength);
        break;
    }
    Check(lang.FormTexts.size() >= formTexts.size() && lang.Messages.size() >= messages.size());
    Check(lang.Messages[0] == "msg");
    for (const auto& entry : lang.FormTexts)
        Check(Characters(entry) <= zav::MaxLineLength);
    for (const auto& entry : lang.Messages)
        Check(Characters(entry) <= zav::MaxLineLength);
    zav::fuzz::Drain();
    // Every input starts from the built-in tables, as a run of the program does.
    lang.FormTexts = formTexts;
    lang.Messages = messages;
    return 0;
}
