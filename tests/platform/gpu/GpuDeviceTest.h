#pragma once
// A hidden window with a current 4.5 core context.
#include "platform/NativeWindow.h"
#include "platform/gpu/Device.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tarsel::test {

class GpuDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<platform::NativeWindow>("gpu test", 0, 0, 64, 48, false);
        ASSERT_TRUE(window->IsValid()) << window->Error();
        std::string error;
        ASSERT_TRUE(device.Create(*window, error)) << error;
    }
    void TearDown() override
    {
        device.Destroy();
        window.reset();
    }

    std::unique_ptr<platform::NativeWindow> window;
    platform::gpu::Device device;
};

} // namespace tarsel::test
