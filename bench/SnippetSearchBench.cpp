// The picker refreshes on every key: `matches` over 10,000 snippets for each
// keystroke of a query typed letter by letter must stay under 1 ms.
#include "features/snippets/SnippetPicker.h"
#include "features/snippets/SnippetStore.h"
#include "features/snippets/SnippetsFeature.h"

#include <benchmark/benchmark.h>

using quillon::Snippet;
using quillon::SnippetStore;

static void BM_MatchesPerKeystrokeOverTenThousand(benchmark::State& state)
{
    std::vector<Snippet> snippets;
    for (int i = 0; i < 10000; ++i)
        snippets.push_back({QUuid::createUuid(), QStringLiteral("trigger%1").arg(i),
                            QStringLiteral("Body number %1 with a few ordinary words in it").arg(i)});
    const QString query = QStringLiteral("signature");
    for (auto _ : state) {
        for (qsizetype length = 1; length <= query.size(); ++length)
            benchmark::DoNotOptimize(SnippetStore::matches(query.left(length), snippets));
    }
    state.SetItemsProcessed(state.iterations() * query.size());
}
// Time per iteration covers nine keystrokes.
BENCHMARK(BM_MatchesPerKeystrokeOverTenThousand)->Unit(benchmark::kMillisecond);

// One keystroke in the open picker over 300 snippets: the key rule, the
// matches and the rows handed to the list; well within a 16 ms frame.
static void BM_PickerKeystrokeOverThreeHundred(benchmark::State& state)
{
    std::vector<Snippet> snippets;
    for (int i = 0; i < 300; ++i)
        snippets.push_back({QUuid::createUuid(), QStringLiteral("trigger%1").arg(i),
                            QStringLiteral("Body number %1 with a few ordinary words in it").arg(i)});
    quillon::SnippetPicker::State picker;
    picker.query = QStringLiteral("trigger1");
    picker.rowCount = int(snippets.size());
    for (auto _ : state) {
        const auto result =
            quillon::SnippetPicker::reduce(picker, {0, false, false, QStringLiteral("2")}, 1.0);
        const auto visible = SnippetStore::matches(result.state.query, snippets);
        benchmark::DoNotOptimize(quillon::SnippetsFeature::items(visible));
    }
}
BENCHMARK(BM_PickerKeystrokeOverThreeHundred)->Unit(benchmark::kMicrosecond);
