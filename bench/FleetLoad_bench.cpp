// Loading a whole fleet from the development service over loopback: the first page, then
// the further pages, as the fleet window's download does.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "Korvane/AccountCalls.h"
#include "Korvane/Deployment.h"
#include "Korvane/VehicleCalls.h"
#include "support/DevServiceProcess.h"

namespace {

void BM_LoadWholeFleet(benchmark::State& state) {
  const int extra = static_cast<int>(state.range(0));
  testsupport::DevServiceProcess service({"--seed-fleet", std::to_string(extra)});
  Korvane::SetApiBaseUrl(service.baseUrl());
  if (!Korvane::Verify(Korvane::VerifyMode::User, "demo", "demo1234").success) {
    state.SkipWithError("sign-in failed");
    return;
  }
  const std::string number = Korvane::Company()->register_contact_number;
  std::size_t loaded = 0;
  double bytesPerVehicle = 0;
  for (auto _ : state) {
    malloc_trim(0);
    const std::size_t before = mallinfo2().uordblks;
    auto cars = std::make_unique<Korvane::TCars>();
    Korvane::GetCarPage(number, 1, 0, *cars);
    Korvane::LoadMorePages(number, *cars, 0);
    loaded = cars->cars ? cars->cars->size() : 0;
    state.PauseTiming();
    bytesPerVehicle = static_cast<double>(mallinfo2().uordblks - before) / static_cast<double>(loaded);
    cars.reset();
    state.ResumeTiming();
  }
  state.counters["vehicles"] = static_cast<double>(loaded);
  state.counters["bytes_per_vehicle"] = bytesPerVehicle;
}
BENCHMARK(BM_LoadWholeFleet)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
