// Reading vehicle lists: one 999-vehicle /car/list body into a TCars, and the memory a held
// vehicle takes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "Korvane/VehicleCalls.h"

namespace {

std::string VehicleJson(int i) {
  const std::string n = std::to_string(100000 + i);
  return R"({"plate_number":"浙A)" + n.substr(1) +
         R"(","model_1":"3","model_2":"12","length":"9.6","tonnage":"30","location":"浙江省,杭州市,西湖区","located_time":"2026-12-10 08:15:)" +
         std::to_string(10 + i % 50) + R"(","driver_name":"王建国","locate_number":"138)" + n +
         R"(99","expected_flow":"江苏省,南京市;上海市","driver_gender":"男","driver_id_number":"33010219800101)" +
         n.substr(2) + R"(","model_3":"","model_4":"","volume":"","width":"2.4","height":"2.7","description":"常跑长三角","locate_status":)" +
         std::to_string(i % 3 == 0 ? 1 : 0) + "}";
}

std::string PageBody(int count) {
  std::string body = R"({"success":true,"result":{"total_results":)" + std::to_string(count) + R"(,"car_lists":[)";
  for (int i = 0; i < count; ++i) body += (i ? "," : "") + VehicleJson(i);
  return body + "]}}";
}

void BM_ReadCarPage999(benchmark::State& state) {
  const std::string body = PageBody(Korvane::kPageSize);
  for (auto _ : state) {
    Korvane::TCars page;
    Korvane::ReadCarPage(body, 1, page);
    benchmark::DoNotOptimize(page);
  }
  state.counters["body_bytes"] = static_cast<double>(body.size());
}
BENCHMARK(BM_ReadCarPage999)->Unit(benchmark::kMillisecond);

// Heap bytes held per vehicle once a page has been read and the body released.
void BM_BytesPerVehicle(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    const std::string body = PageBody(Korvane::kPageSize);
    malloc_trim(0);
    const std::size_t before = mallinfo2().uordblks;
    auto page = std::make_unique<Korvane::TCars>();
    state.ResumeTiming();
    Korvane::ReadCarPage(body, 1, *page);
    state.PauseTiming();
    const std::size_t after = mallinfo2().uordblks;
    state.counters["bytes_per_vehicle"] = static_cast<double>(after - before) / Korvane::kPageSize;
    page.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BytesPerVehicle)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
