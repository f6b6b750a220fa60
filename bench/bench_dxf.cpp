// Importing a large DXF drawing: every reader walks the file once, so the time grows with the
// file's size, not with its size times its entity count.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "interchange/dxf_import.h"
#include "model/number_text.h"
#include "model/text_file.h"

namespace {

// A drawing as a CAD program writes it: LWPOLYLINEs on the section layers and on other layers,
// old-style POLYLINEs with vertices, circles with subclass markers, lines and texts.
std::string bigDrawing(std::size_t targetBytes) {
    std::string s = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
    auto pair = [&](const char* code, const std::string& value) {
        s += code;
        s += "\r\n";
        s += value;
        s += "\r\n";
    };
    for (int i = 0; targetBytes > s.size(); ++i) {
        const double x = (i % 1000) * 1.5, y = (i / 1000) * 2.5;
        const char* layers[] = {"POLY", "STEEL", "OPENING", "DIM", "REBARLINE"};
        pair("  0", "LWPOLYLINE");
        pair("  5", std::to_string(i + 100));
        pair("100", "AcDbEntity");
        pair("  8", layers[i % 5]);
        pair("100", "AcDbPolyline");
        pair(" 90", "4");
        pair(" 70", "1");
        for (int k = 0; k < 4; ++k) {
            pair(" 10", qav::Format("%0.3f", {x + (k == 1 || k == 2 ? 10 : 0)}));
            pair(" 20", qav::Format("%0.3f", {y + (k >= 2 ? 10 : 0)}));
        }
        pair("  0", "CIRCLE");
        pair("100", "AcDbEntity");
        pair("  8", i % 2 ? "0" : "REBAR");
        pair("100", "AcDbCircle");
        pair(" 10", qav::Format("%0.3f", {x}));
        pair(" 20", qav::Format("%0.3f", {y}));
        pair(" 30", "0.0");
        pair(" 40", "12.5");
        pair("  0", "POLYLINE");
        pair("  8", i % 3 ? "STEEL" : "DIM");
        pair(" 66", "1");
        for (int k = 0; k < 3; ++k) {
            pair("  0", "VERTEX");
            pair("  8", "STEEL");
            pair(" 10", qav::Format("%0.3f", {x + k}));
            pair(" 20", qav::Format("%0.3f", {y - k}));
        }
        pair("  0", "SEQEND");
        pair("  0", "TEXT");
        pair("  8", "DIM");
        pair(" 10", "0.0");
        pair(" 20", "0.0");
        pair("  1", "CIRCLE");
    }
    s += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    return s;
}

void BM_ImportDxfFile(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string path = (std::filesystem::temp_directory_path() / "qavsec_bench.dxf").string();
    qav::writeTextFile(path, bigDrawing(bytes));
    int bars = 0, steel = 0;
    for (auto _ : state) {
        qav::SectionModel m;
        qav::importDxfFile(m, path);
        bars = m.document.NBAR;
        steel = m.document.NSTEEL_SEC;
        benchmark::DoNotOptimize(m.document.NCONC_PT);
    }
    state.counters["bars"] = bars;
    state.counters["steel_polygons"] = steel;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    std::remove(path.c_str());
}
BENCHMARK(BM_ImportDxfFile)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
