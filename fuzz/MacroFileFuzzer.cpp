// libFuzzer target: a macro file (.macro) from outside. A file that reads
// enters the macro model (the list and the action editor), goes through the
// consistency check, is assigned to a button of a factory profile and is
// encoded into the mouse's macro blocks, which an emulated mouse must take.

#include "FuzzSupport.h"

#include "sequences/ApplySequence.h"
#include "wire/MacroEncoding.h"
#include "macros/MacroCheck.h"
#include "macros/MacroClass.h"
#include "macros/MacroFiles.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace k4812;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString file = fuzz::scratchFolder() + QStringLiteral("/input.macro");
    fuzz::writeWholeFile(file, QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));

    auto macro = makeZeroRecord<TMACROKEYINFO>();
    QString error;
    if (readMacroFile(file, *macro, error) != MacroFileRead::Read)
        return 0;
    if (macro->MacroListCount < 0 || macro->MacroListCount > kMacroActionCapacity)
        std::abort(); // the reader promised a record inside the data model

    // The consistency check on the actions the file holds.
    const int errors = countMacroErrors(std::span<const TMACROKEY>(macro->MacroList, std::size_t(macro->MacroListCount)));
    if (errors < 0)
        std::abort();

    // Into the model, then edited as the macro page would.
    auto list = makeZeroRecord<TMACROKEYINFOLIST>();
    list->MacroInfos[0] = *macro;
    list->nMacroInfoCount = 1;
    std::unique_ptr<TuiMacroClass> model = TuiMacroClass::CtlCreate(*list, error);
    if (!model)
        std::abort(); // one macro that read is always a list the model takes
    model->SetMacroListIndex(0);
    if (TuiActionsClass* actions = model->CurrentMacroAction()) {
        (void)actions->CheckErrors();
        (void)actions->TotalDelay();
        actions->CopyAction(0);
        actions->PasteAction(actions->MacroListCount());
        actions->MoveDownAction(0);
        actions->DeleteAction(actions->MacroListCount() - 1);
    }
    if (!model->InsertMacroAfter(*macro, model->CurrentMacroAction() ? model->CurrentMacroAction()->MacroListCount() : 0,
                                 error)
        && model->CurrentMacroAction())
        std::abort();
    model->GetMacroKeyInfoList(*list);
    if (list->nMacroInfoCount != 1 || list->MacroInfos[0].MacroListCount < 0
        || list->MacroInfos[0].MacroListCount > kMacroActionCapacity)
        std::abort();

    // On a button of a factory profile, encoded and sent as an apply would.
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*profile);
    profile->MacroKeyInfoList = *list;
    profile->MacroKeyInfoList.MacroInfos[0].nMacroIndex = 0;
    if (!AssignMacro(*profile, 3, 0).assigned())
        std::abort();
    EncodingNotes notes;
    const MacroBlocks blocks = EncodeMacroBlocks(*profile, &notes);
    for (std::uint16_t length : blocks.lengths) {
        if (length > kMacroBlockSize || length % kMacroActionSize != 0)
            std::abort();
    }
    std::unique_ptr<TuiHIDData> mouse = fuzz::emulatedMouse();
    fuzz::SilentHost host;
    std::vector<ApplyStepResult> steps;
    UploadProfile(*mouse, host, *profile, 1, steps, &notes);
    for (const ApplyStepResult& step : steps) {
        if (step.error != 0)
            std::abort();
    }
    return 0;
}
