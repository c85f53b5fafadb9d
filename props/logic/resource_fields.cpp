#include "props/logic/resource_fields.h"

#include "inspector/device_inspector.h"
#include "lang/resource_ids.h"

namespace props {
namespace {

FieldText slotField(std::uint32_t control, const SlotTexts& slots, int slot, std::uint32_t mark) {
    const std::string& text = slots[static_cast<std::size_t>(slot)];
    return {control, text, text == inspector::kResourceConflict ? mark : 0u};
}

}  // namespace

std::vector<FieldText> legacyPageFields(const SlotTexts& slots, bool gameSupportOn) {
    if (!gameSupportOn) return {};
    return {
        {IDC_LEGACY_DEVICE, "SoundBlaster Pro", 0},
        slotField(IDC_LEGACY_IRQ, slots, inspector::kSlotMainIrq, IDC_LEGACY_IRQ_CONFLICT),
        slotField(IDC_LEGACY_IO, slots, inspector::kSlotFmFirstIo, IDC_LEGACY_IO_CONFLICT),
        slotField(IDC_LEGACY_DMA, slots, inspector::kSlotFmDma, IDC_LEGACY_DMA_CONFLICT),
    };
}

std::vector<FieldText> advResPage1Fields(const SlotTexts& slots, bool gameSupportOn,
                                         bool isMaestro2E, bool joystickDisabled) {
    std::vector<FieldText> fields;
    if (joystickDisabled) {
        fields.push_back({IDC_ADVRES1_JOY_IO, "", 0});
    } else {
        int slot = (isMaestro2E || gameSupportOn) ? inspector::kSlotGameportIo
                                                  : inspector::kSlotFmMemoryOrJoystickIrq;
        fields.push_back(slotField(IDC_ADVRES1_JOY_IO, slots, slot, IDC_ADVRES1_JOY_IO_CONFLICT));
    }
    if (gameSupportOn || isMaestro2E) {
        fields.push_back(slotField(IDC_ADVRES1_FM_IO, slots, inspector::kSlotFmFirstIo,
                                   IDC_ADVRES1_FM_IO_CONFLICT));
        fields.push_back(slotField(IDC_ADVRES1_FM_DMA, slots, inspector::kSlotFmDma,
                                   IDC_ADVRES1_FM_DMA_CONFLICT));
        fields.push_back(slotField(IDC_ADVRES1_FM_IRQ, slots, inspector::kSlotMainIrq,
                                   IDC_ADVRES1_FM_IRQ_CONFLICT));
        fields.push_back(slotField(IDC_ADVRES1_MPU_IO, slots, inspector::kSlotMpu401Io,
                                   IDC_ADVRES1_MPU_IO_CONFLICT));
    } else {
        for (std::uint32_t id :
             {IDC_ADVRES1_FM_IO, IDC_ADVRES1_FM_DMA, IDC_ADVRES1_FM_IRQ, IDC_ADVRES1_MPU_IO})
            fields.push_back({id, "", 0});
    }
    return fields;
}

std::vector<FieldText> advResPage2Fields(const SlotTexts& slots, bool gameSupportOn) {
    std::vector<FieldText> fields;
    if (gameSupportOn) {
        fields.push_back(slotField(IDC_ADVRES2_FM_IO, slots, inspector::kSlotFmLaterIo,
                                   IDC_ADVRES2_FM_IO_CONFLICT));
        // The enumerator's interrupt has no mark of its own.
        fields.push_back({IDC_ADVRES2_ENUM_IRQ, slots[inspector::kSlotEnumeratorIrq], 0});
    } else {
        fields.push_back({IDC_ADVRES2_FM_IO, "", 0});
        fields.push_back({IDC_ADVRES2_ENUM_IRQ, "", 0});
    }
    fields.push_back(slotField(IDC_ADVRES2_WAVE_IO, slots, inspector::kSlotMainIo,
                               IDC_ADVRES2_WAVE_IO_CONFLICT));
    fields.push_back(slotField(IDC_ADVRES2_WAVE_IRQ, slots, inspector::kSlotMainIrq,
                               IDC_ADVRES2_WAVE_IRQ_CONFLICT));
    fields.push_back({IDC_ADVRES2_SYNTH_IRQ, slots[inspector::kSlotWavetableIrq], 0});
    return fields;
}

}  // namespace props
