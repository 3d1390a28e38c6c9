#pragma once

class TMainForm;

// Wires the dialogs into the main window: every wave command's dialog
// before it runs, Wave Properties for New wave, the register dialog, and the
// view settings of View Wave and View Volume. Called once the main window's
// handlers exist.
void InstallDialogs(TMainForm& mainForm);
