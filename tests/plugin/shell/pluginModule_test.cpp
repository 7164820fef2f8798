// The built plug-in as the host's loader sees it: its PiPL, its one export
// and its resources, read from the module file.
#include "pello/host/PluginModule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace pello::host;

namespace {

using Bytes = std::vector<std::uint8_t>;

} // namespace

TEST(LoaderTest, ThePluginLoadsThroughItsPiPL) {
  std::string error;
  auto module = PluginModule::open(PELLO_PLUGIN_PATH, error);
  ASSERT_NE(module, nullptr) << error;
  EXPECT_EQ(module->pipl().kind, 0x53504541u);
  EXPECT_EQ(module->pipl().interfaceVersion, 2);
  EXPECT_EQ(module->pipl().entryPoint, "PluginMain");
  EXPECT_NE(module->entry(), nullptr);
  EXPECT_EQ(module->exportedNames(), std::vector<std::string>{"PluginMain"});
  // The PiPL is exactly the 78 bytes the host expects.
  const Bytes *raw = module->resource(ResourceType::named("PIPL"), 16000);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw->size(), 78u);
  EXPECT_NE(module->resource(ResourceType::id(kRtDialog), 16051), nullptr);
  EXPECT_EQ(resourceString(*module, 16051), "-108");
  EXPECT_EQ(resourceString(*module, 16050), std::nullopt);
}
