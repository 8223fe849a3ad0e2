#pragma once
// How the program's settings come to life at start-up and are shaped by the presets:
// the settings file when it can be read, else the defaults; the animal preset; and the
// page-spectrum adjustment after the analysis settings changed. The frame and the
// application call these; nothing here needs a window.
#include <span>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"

// Program-wide part. Reads the settings file unless Ctrl is held; when that gives nothing,
// the default fonts and colours and every default setting are set. Returns 1 when read.
int LoadGlobalSettings();

// Document part: the parameter blocks and the 32 channel records from the settings file, or,
// when it cannot be read (or Ctrl is held), their defaults. Afterwards an 8-second epoch turns
// the Rechtschaffen and Kales last-stage mode off. Returns 1 when read.
int LoadDocumentSettings(AnalysisParamBlocks& blocks, std::span<LyrChInfo> channels);

// The animal preset: stage type 3, 10-s epochs on 40-s pages, the animal bands in both FFT band
// tables (Delta 0.75-4, Theta 6-10, Alpha 12-14 Hz, three in use) and the matching wave-form
// frequency ranges (Delta 0.65-4, Theta 6-10, Alpha 12-14 Hz).
void ApplyAnimalSetting(AnalysisParamBlocks& blocks);

// With the animal-only mode on and no settings file yet, applies the animal preset and writes
// the settings file at once. Returns whether it did.
bool ApplyAnimalSettingIfFirstRun(bool animalOnlyMode, AnalysisParamBlocks& blocks,
                                  std::span<const LyrChInfo> channels);

// Brings the page spectrum's band table in line with the per-epoch band table: header words,
// band count and bands, and the display range (the optional band's range when the band table
// uses it, else the lowest and highest band edges). Does nothing while no FFT channel is on
// or the band table is empty.
void AdjustAnalysisSettings(AnalysisParamBlocks& blocks);
