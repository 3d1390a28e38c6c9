// The main window's commands that open a dialog of src/dialogs.
#include "app/dialoghandlers.h"

#include "app/mainform.h"
#include "app/waveview.h"
#include "app/wavewindow.h"
#include "dialogs/dialogtable.h"
#include "documents/unitwave.h"

namespace {

// Shows a view settings dialog for the active wave window; on OK the window
// shows that view with the settings confirmed.
template <class Props>
void EditView(TMainForm& mainForm, bool waveView) {
  auto* child = qobject_cast<TMDIChildWave*>(mainForm.GetActiveWaveWindow());
  if (child == nullptr) return;
  TWaveView& view = child->GetView();
  TWaveRecord record = waveView ? TWaveRecord(view.GetWaveView()) : TWaveRecord(view.GetVoldView());
  bool useAsDefault = false;
  const TFormDesc& form = waveView ? WaveViewForm() : VoldViewForm();
  const TUnitWave& unitWave = child->GetUnitWave();
  if (!ExecuteForm(
          form, record, &mainForm, {unitWave.GetFrequency(), unitWave.GetValues()},
          [&mainForm](const QString& topic) { mainForm.ShowHelpTopic(topic); }, &useAsDefault)) {
    return;
  }
  // The window takes a view's settings from the defaults when it switches
  // to it; without "Use As Default" the defaults stay as they were.
  TWorkspace& workspace = mainForm.GetWorkspace();
  Props& defaults = [&workspace]() -> Props& {
    if constexpr (std::is_same_v<Props, TWaveViewProps>) {
      return workspace.WaveView;
    } else {
      return workspace.VoldView;
    }
  }();
  const Props saved = defaults;
  defaults = std::get<Props>(record);
  child->SetViewMode(waveView);
  if (!useAsDefault) defaults = saved;
}

}  // namespace

void InstallDialogs(TMainForm& mainForm) {
  TMainForm* form = &mainForm;
  const THelpCallback help = [form](const QString& topic) { form->ShowHelpTopic(topic); };
  form->EditRecord = MakeRecordEditor(form, help);
  form->AskRegisterName = [form, help](const std::string& current) {
    return ExecuteRegisterDialog(form, current, help);
  };
  form->AddHandler("FileNewWave", [form] {
    TWaveRecord record = TWaveFileProps{};
    if (!ExecuteForm(*FindForm(TWaveCommand::FileProperties), record, form, {},
                     [form](const QString&) { form->ShowHelpTopic("FileNewWave"); })) {
      return;
    }
    TUnitWave* unitWave = form->GetWorkspace().NewWave(std::get<TWaveFileProps>(record));
    form->CreateWaveWindow(*unitWave);
  });
  form->AddHandler("ViewWave", [form] { EditView<TWaveViewProps>(*form, true); });
  form->AddHandler("ViewVold", [form] { EditView<TVoldViewProps>(*form, false); });
}
