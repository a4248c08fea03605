// The picker refreshes on every key: `matches` over 10,000 snippets for each
// keystroke of a query typed letter by letter must stay under 1 ms.
#include "features/snippets/SnippetStore.h"

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
