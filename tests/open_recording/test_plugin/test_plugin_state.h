#pragma once
// What the test import plug-in answers; a test reaches it through the exported TestPluginState.
#include <stdint.h>

#include "app/document/import_plugin_abi.h"

struct TestPluginAnswers {
  int structVersion = 1;
  int channels = 2;
  double rateHz = 100.0;
  uint32_t dataCount = 100 * 200;
  char failExport[32] = {};            // this export answers 0 (or -1 for GetDataType)
  int timeKnown = 1;
  uint16_t startTime[8] = {2021, 6, 0, 15, 22, 30, 5, 250};
  int subjectGiven = 1;
  char name[IMP_NAME_CAPACITY] = "Plug Subject";
  int16_t gender = 1;
  int16_t ageYears = 40;
  int16_t ageMonths = 3;
  char labels[10][IMP_NAME_CAPACITY] = {};
  char texts[10][IMP_NAME_CAPACITY] = {};
  ImpSubjectInfoV1 v1 = {};           // GetSubjectInfo's answer (used when v1Given)
  int v1Given = 0;
  ImpFilterRecord filter = {};        // the same for every channel
  int exitCalls = 0;                  // ExitDLLFile calls so far
  int rawCalls = 0;
  int dataType = 0;                   // GetDataType's answer
  uint16_t wordBase = 1;              // GetRawWordData gives wordBase + channel for every sample
  int32_t wordFirst[32] = {};         // first sample asked per channel
  ImpReadRequest lastRequest = {};    // the last GetRawData request
  // Events: GetEventNum answers eventCount; the full variant names two types and gives the
  // event channel and the events' positions and types.
  int eventCount = 0;
  int32_t eventChannel = 0;
  int32_t eventPositions[4] = {};
  int32_t eventTypes[4] = {};
};

typedef TestPluginAnswers* (*TestPluginStateFn)(void);
