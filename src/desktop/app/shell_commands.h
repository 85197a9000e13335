#pragma once

namespace trelvanox {

class TFmMainForm;

// The commands that belong to the window itself.
void acnPrintExecute(TFmMainForm& form);  // printer setup, then the header table on one page
void acnHelpExecute(TFmMainForm& form);   // the help file of the current folder, by the desktop
void acnAboutExecute(TFmMainForm& form);  // the about box, modal
void acnExitExecute(TFmMainForm& form);   // closes the window at once
void acnLoadOptionsExecute(TFmMainForm& form);
void acnSaveOptionsExecute(TFmMainForm& form);

}  // namespace trelvanox
