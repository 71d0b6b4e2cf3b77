// Cost of one dice evaluation. Each iteration scores all 7,776 throws of five
// dice; the per_eval column is the time of one evaluation (e.g. 9n = 9 ns).
#include "scoring/valmod.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<valmod::DiceArray> allThrows()
{
    std::vector<valmod::DiceArray> throws;
    for (int code = 0; code < 6 * 6 * 6 * 6 * 6; ++code) {
        valmod::DiceArray dice{};
        int rest = code;
        for (auto &die : dice) {
            die = static_cast<std::int16_t>(rest % 6 + 1);
            rest /= 6;
        }
        throws.push_back(dice);
    }
    return throws;
}

void report(benchmark::State &state, std::size_t perIteration)
{
    const auto n = static_cast<std::int64_t>(perIteration);
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["per_eval"] = benchmark::Counter(
        static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// As the game does it: dice into the shared arrays, then EvaluateDice.
void BM_EvaluateDice(benchmark::State &state)
{
    const auto throws = allThrows();
    for (auto _ : state) {
        for (const auto &dice : throws) {
            valmod::DiceValue = dice;
            valmod::EvaluateDice();
            benchmark::DoNotOptimize(valmod::CategoryValue);
        }
    }
    report(state, throws.size());
}
BENCHMARK(BM_EvaluateDice);

void BM_Evaluate(benchmark::State &state)
{
    const auto throws = allThrows();
    for (auto _ : state) {
        for (const auto &dice : throws) {
            auto result = valmod::Evaluate(dice);
            benchmark::DoNotOptimize(result);
        }
    }
    report(state, throws.size());
}
BENCHMARK(BM_Evaluate);

} // namespace
