#pragma once

// WizardList: the first argument of SigTransferList, naming the list that the
// port dialog or the main window hands to the setup wizard.
namespace wizardlist {
inline constexpr int kComPorts = 0;   // the port dialog's COM port items
inline constexpr int kUsbDevices = 1; // the port dialog's USB device items
inline constexpr int kVersions = 2;   // the firmware version rows
inline constexpr int kOperators = 3;  // the GSM operator names
inline constexpr int kRefresh = 4;    // empty: the settings changed, refresh from them
} // namespace wizardlist
