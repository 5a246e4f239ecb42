// Composing passwords without any window: how many per second the engine makes.
#include "eventyield.h"
#include "generationsettings.h"
#include "passwordcomposer.h"
#include "prompter.h"
#include "randomsource.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

// Nothing should be asked while composing; a prompt would mean the benchmark measures a failure.
class NoPrompts : public Prompter
{
public:
    MessageAnswer showMessage(const MessageRequest &request) override
    {
        qFatal("unexpected message: %s", qPrintable(request.text));
    }
    std::optional<QString> askText(const InputRequest &) override { return std::nullopt; }
};

void compose(benchmark::State &state, const QString &length, const QStringList &counts, bool allSymbols)
{
    GenerationSettings settings;
    settings.setNumUppercaseChars(counts[0]);
    settings.setNumLowercaseChars(counts[1]);
    settings.setNumNumbers(counts[2]);
    settings.setNumSymbols(counts[3]);
    settings.setAllSymbolsSelected(allSymbols);
    RandomSource random;
    random.SetSeed(0);
    NoPrompts prompts;
    EventYield yield;
    PasswordComposer composer(settings, random, prompts, yield);

    for (auto _ : state) {
        QString password = composer.GenerateOnePassword(length);
        benchmark::DoNotOptimize(password.data());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ComposeLength10Default(benchmark::State &state)
{
    compose(state, QStringLiteral("10"), { "2", "2", "2", "4" }, true);
}
BENCHMARK(BM_ComposeLength10Default);

void BM_ComposeLength16AllSymbols(benchmark::State &state)
{
    compose(state, QStringLiteral("16"), { "4", "4", "4", "4" }, true);
}
BENCHMARK(BM_ComposeLength16AllSymbols);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
