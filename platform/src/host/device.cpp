#include "host/device.h"

namespace platform::detail {
namespace {
Device* currentDevice = nullptr;
std::unique_ptr<Device> ownedDevice;
std::unique_ptr<Device> (*deviceFactory)() = nullptr;
}  // namespace

Device* CurrentDevice() {
    if (!currentDevice && deviceFactory) {
        auto* factory = deviceFactory;
        deviceFactory = nullptr;
        ownedDevice = factory();
        currentDevice = ownedDevice.get();
    }
    return currentDevice;
}

void SetCurrentDevice(Device* device) {
    currentDevice = device;
}

void SetDeviceFactory(std::unique_ptr<Device> (*factory)()) {
    deviceFactory = factory;
}

void CloseOwnedDevice() {
    if (currentDevice == ownedDevice.get()) currentDevice = nullptr;
    ownedDevice.reset();
    deviceFactory = nullptr;
}

}  // namespace platform::detail
