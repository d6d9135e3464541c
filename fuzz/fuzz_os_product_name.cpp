// Any facts: the naming must not crash, and every option only adds to the
// name made with every option off.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

#include "drop/os_product_name.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  korvane::OsFacts facts;
  facts.VersionReadable = input.ConsumeBool();
  facts.Version.ProductType = input.ConsumeIntegral<std::uint8_t>();
  facts.Version.SuiteMask = input.ConsumeIntegral<std::uint16_t>();
  facts.Version.ProcessorArchitecture = input.ConsumeIntegral<std::uint16_t>();
  facts.Version.Is64BitWindows = input.ConsumeBool();
  // Mostly real versions, so the tables are reached; sometimes anything.
  facts.Version.Major =
      input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(3, 11) : input.ConsumeIntegral<std::uint32_t>();
  facts.Version.Minor = input.ConsumeIntegralInRange<std::uint32_t>(0, 12);
  facts.Version.Build = input.ConsumeIntegral<std::int16_t>();
  facts.ServerR2Metric = input.ConsumeIntegral<int>();
  facts.ProductInfoType = input.ConsumeIntegralInRange<std::uint32_t>(0, 130);
  facts.Version.ServicePackText = input.ConsumeRandomLengthString(64);
  facts.ProductName = input.ConsumeRandomLengthString(64);
  facts.CSDVersion = input.ConsumeRandomLengthString(64);
  facts.CurrentBuild = input.ConsumeRandomLengthString(16);

  korvane::OsNameOptions options;
  const korvane::Text plain = korvane::ComposeOsProductName(facts, options);
  options.WithEdition = input.ConsumeBool();
  options.WithArchitecture = input.ConsumeBool();
  options.WithServicePack = input.ConsumeBool();
  options.WithBuild = input.ConsumeBool();
  const korvane::Text full = korvane::ComposeOsProductName(facts, options);
  if (full.compare(0, plain.size(), plain) != 0) std::abort();
  return 0;
}
