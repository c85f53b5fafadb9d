// Filing the resources of the card's devices into the report's ten slots.
//
// Each resource is formatted once and then tested against every rule of its kind: a
// description that matches several rules fills each of their slots, and a later value for a
// slot replaces the earlier one, so the last one found stays.
#include "inspector/device_inspector.h"
#include "inspector/device_names.h"
#include "inspector/resource_text.h"

namespace inspector {

void deviceInspector::fileMemoryWindow(std::uint32_t, std::uint32_t base, std::uint32_t length,
                                       const char* description) {
    const std::string text = memoryRangeText(base, length);
    if (descriptionContains(description, kFmDevice)) resourceSlots[kSlotFmMemoryOrJoystickIrq] = text;
}

void deviceInspector::fileIoRange(std::uint32_t, std::uint16_t base, std::uint16_t length,
                                  const char* description) {
    const std::string text = ioRangeText(base, length);
    if (descriptionContains(description, kFmDevice)) {
        // The FM device's first range is its SoundBlaster port; the others (the AdLib port)
        // share one slot.
        if (!firstFmIoTaken) {
            resourceSlots[kSlotFmFirstIo] = text;
            firstFmIoTaken = true;
        } else {
            resourceSlots[kSlotFmLaterIo] = text;
        }
    }
    if (descriptionContains(description, kMainDevice)) resourceSlots[kSlotMainIo] = text;
    if (descriptionContains(description, kMpu401Device)) resourceSlots[kSlotMpu401Io] = text;
    if (isGameportDescription(description, joystickName)) resourceSlots[kSlotGameportIo] = text;
}

void deviceInspector::fileIrq(std::uint32_t, std::uint8_t irq, const char* description) {
    const std::string text = channelText(irq);
    if (descriptionContains(description, kMainDevice)) resourceSlots[kSlotMainIrq] = text;
    if (isEnumeratorDescription(description)) resourceSlots[kSlotEnumeratorIrq] = text;
    if (descriptionContains(description, kWavetableDevice)) resourceSlots[kSlotWavetableIrq] = text;
    if (isGameportDescription(description, joystickName)) {
        resourceSlots[kSlotFmMemoryOrJoystickIrq] = text;
    }
}

void deviceInspector::fileDma(std::uint32_t, std::uint8_t channel, const char* description) {
    const std::string text = channelText(channel);
    if (descriptionContains(description, kFmDevice)) resourceSlots[kSlotFmDma] = text;
}

}  // namespace inspector
