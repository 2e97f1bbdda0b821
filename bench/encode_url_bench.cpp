#include "paired_times.h"
#include "peer/table_encoder.h"
#include "sample_names.h"

#include "address/encode_url.h"
#include "forms/qt_text.h"

#include <QUrl>

namespace {

// A file name as users write them: blanks, accents, brackets, a "#" and an extension.
constexpr std::u16string_view NamePiece = u"Rapport n°3 (version été) #2 – final.pdf ";

std::u16string NameOfLength(size_t length) {
    std::u16string name;
    while (name.size() < length)
        name += NamePiece;
    name.resize(length);
    return name;
}

// Nanoseconds per character of EncodeUrl, against QUrl::toPercentEncoding on the same text. Each
// timing encodes about 64k characters, so that short names are not lost in the clock's noise.
void EncodeUrlAgainstQUrl(benchmark::State& state) {
    const auto length = static_cast<size_t>(state.range(0));
    const std::u16string name = NameOfLength(length);
    const QString qName = forms::ToQString(name);
    const size_t repeats = std::max<size_t>(1, 65536 / length);
    PairedTimes times;
    for (auto _ : state) {
        times.Program(state, [&] {
            for (size_t i = 0; i < repeats; ++i)
                benchmark::DoNotOptimize(mdCode::EncodeUrl(name));
        });
        times.Peer([&] {
            for (size_t i = 0; i < repeats; ++i)
                benchmark::DoNotOptimize(QUrl::toPercentEncoding(qName));
        });
    }
    times.Report(state, "EncodeUrl_ns_per_char", "QUrl_ns_per_char",
                 1e9 / static_cast<double>(repeats * length));
}
BENCHMARK(EncodeUrlAgainstQUrl)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Arg(8)
    ->Arg(64)
    ->Arg(1024)
    ->Arg(65536);

// Nanoseconds per character of EncodeUrl, against a plain one-pass table encoder on the same text:
// accented French (argument 0) or mixed names (1), of as many units as the second argument says.
// The two must give the same output.
void EncodeUrlAgainstTableEncoder(benchmark::State& state) {
    const auto length = static_cast<size_t>(state.range(1));
    const std::u16string name =
        state.range(0) == 0 ? AccentedFrenchText(length) : MixedNames(length);
    if (mdCode::EncodeUrl(name) != TableEncode(name)) {
        state.SkipWithError("EncodeUrl and the table encoder disagree");
        return;
    }
    const size_t repeats = std::max<size_t>(1, 65536 / length);
    PairedTimes times;
    for (auto _ : state) {
        times.Program(state, [&] {
            for (size_t i = 0; i < repeats; ++i)
                benchmark::DoNotOptimize(mdCode::EncodeUrl(name));
        });
        times.Peer([&] {
            for (size_t i = 0; i < repeats; ++i)
                benchmark::DoNotOptimize(TableEncode(name));
        });
    }
    times.Report(state, "EncodeUrl_ns_per_char", "table_ns_per_char",
                 1e9 / static_cast<double>(repeats * length));
}
BENCHMARK(EncodeUrlAgainstTableEncoder)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->ArgNames({"mixed", "units"})
    ->Args({0, 1024})
    ->Args({1, 1 << 20});

} // namespace
