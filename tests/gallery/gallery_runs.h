#pragma once

#include "tests/gallery/gallery_case.h"

// Each runs one gallery case through the program's own loading path and checks its promises.
namespace qm::testing {

void run_layout_case(const GalleryCase& c);    // Config.ini and pictures, through Gfx_Load_Skin
void run_manual_case(const GalleryCase& c);    // the manual pages, through TManualForm
void run_sound_case(const GalleryCase& c);     // the samples, through the splash screen's play
void run_settings_case(const GalleryCase& c);  // QuibMan50.conf, through SettingsStore

}  // namespace qm::testing
