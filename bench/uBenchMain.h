#pragma once
// The entry of the benchmarks that draw: an application object on the offscreen platform and
// a program folder in the temp folder.
#include "document/uCommon.h"

#include <QDir>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#define TESSORA_BENCHMARK_MAIN()                                                                   \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QGuiApplication app(argc, argv);                                                           \
        tessora::SetProgramFolder(QDir::tempPath().toStdString());                                 \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        return 0;                                                                                  \
    }
