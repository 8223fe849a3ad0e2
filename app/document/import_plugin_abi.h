#pragma once
// The calls between the program and an import plug-in ("RXQD_IMP_<name>.so" beside the
// program). Every export has C linkage and is bound by its name at the moment of use. Texts go
// in as zero-terminated UTF-8 and come back in the caller's buffers with their capacities; a
// result of 0 means failure unless said otherwise. Plain C so that a plug-in needs nothing else.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define IMP_TEXT_CAPACITY 256      /* buffer given for a filter, version or other long text */
#define IMP_NAME_CAPACITY 64       /* buffer per channel name, unit, subject field or event name */

/* One channel's calibration as GetCalInfo fills it. */
typedef struct ImpCalRecord {
  uint16_t calFlag;
  double topValue;
  double bottomValue;
  uint16_t topSample;
  uint16_t bottomSample;
  double fullScale;
  char unit[IMP_NAME_CAPACITY];
} ImpCalRecord;

/* One channel's filters as GetFilterInfo fills it; zeroed by the program before the call.
   Kind 1 means the filter is on. */
typedef struct ImpFilterRecord {
  uint16_t lowPresent;
  uint16_t lowKind;
  double lowHz;
  uint16_t highPresent;
  uint16_t highKind;
  double highHz;
  uint16_t notchPresent;
  uint16_t notchOn;
  double notchHz;
} ImpFilterRecord;

/* Subject data of GetSubjectInfo. The program empties the texts, sets gender to 65535 (-1)
   and the numbers to 0 before the call. */
typedef struct ImpSubjectInfoV1 {
  char subjectId[IMP_NAME_CAPACITY];
  char subjectIdSub[IMP_NAME_CAPACITY];
  char name[IMP_NAME_CAPACITY];
  char romanName[IMP_NAME_CAPACITY];
  char birthDay[IMP_NAME_CAPACITY];
  int16_t gender;
  int16_t ageYears;
  int16_t ageMonths;
  uint32_t heightTenthCm;
  uint32_t weightGrams;
  char date[IMP_NAME_CAPACITY];
  char testNo[IMP_NAME_CAPACITY];
  char observer[IMP_NAME_CAPACITY];
  char consul[IMP_NAME_CAPACITY];
  char outOrIn[IMP_NAME_CAPACITY];
} ImpSubjectInfoV1;

/* A sample range read by GetRawData, passed by value (64 bytes), with the channel's
   calibration as the program holds it (a plug-in may ignore it and give physical values). */
typedef struct ImpReadRequest {
  uint32_t first;       /* first sample index */
  uint32_t count;       /* samples to read */
  uint16_t calMode;     /* calibration number chosen with the montage */
  uint16_t calFlag;
  uint16_t topSample;
  uint16_t bottomSample;
  double topValue;
  double bottomValue;
  double fullScale;
  uint8_t reserved[24];
} ImpReadRequest;

/* Start time: year, month, day of week, day, hour, minute, second, millisecond. */
typedef uint16_t ImpStartTime[8];

typedef int (*ImpGetFileFilter)(char* out, int capacity);
typedef int (*ImpGetDLLVersion)(char* out, int capacity);
typedef int (*ImpGetStructVersion)(void);
typedef int (*ImpCheckFileType)(const char* path);
typedef int (*ImpGetDLLFileInfo)(const char* path);
typedef int (*ImpSelectMontCal)(const char* path, int16_t* montage, int16_t* calibration);
typedef int (*ImpGetChNum)(const char* path, int16_t montage);
typedef int (*ImpGetDataType)(const char* path);
typedef int (*ImpGetSampling)(const char* path, int16_t montage, int channel, double* rate);
typedef int (*ImpGetDataNum)(const char* path, int zero, int16_t montage, int channel, uint32_t* count);
typedef int (*ImpGetActualTime)(const char* path, int zero, int16_t montage, int zero2, uint16_t* time8);
/* labels and texts: 10 buffers of itemCapacity bytes each, one after the other. */
typedef int (*ImpGetSubjectInfo2)(const char* path, char* name, int nameCapacity, int16_t* gender,
                                  int16_t* ageYears, int16_t* ageMonths, char* labels, char* texts,
                                  int itemCapacity);
typedef int (*ImpGetSubjectInfo)(const char* path, ImpSubjectInfoV1* info);
typedef int (*ImpGetCalInfo)(const char* path, int16_t montage, int16_t calibration, ImpCalRecord* records);
typedef int (*ImpGetCalUnitPerCm)(const char* path, int16_t montage, int channel, double* unitsPerCm);
/* names: one buffer of nameCapacity bytes per channel, one after the other. */
typedef int (*ImpGetChName)(const char* path, int16_t montage, char* names, int nameCapacity);
typedef int (*ImpGetChNegativeUpper)(const char* path, int16_t montage, int all, int16_t* flags);
typedef int (*ImpGetFilterInfo)(const char* path, int16_t montage, int all, ImpFilterRecord* records);
typedef int (*ImpGetEventTypeNum)(const char* path);
typedef int (*ImpGetEventName)(const char* path, int type, char* out, int capacity);
typedef int (*ImpGetEventNum)(const char* path, int zero, int16_t montage);
typedef int (*ImpGetEventCh)(const char* path, int32_t* channel);
/* position in samples of channel 0 and the event's type */
typedef int (*ImpGetEventPos)(const char* path, int zero, int16_t montage, int event, int32_t* position,
                              int32_t* type);
typedef int (*ImpGetRawData)(const char* path, int zero, int16_t montage, int channel, ImpReadRequest request,
                             float* out);
typedef int (*ImpGetRawWordData)(const char* path, int zero, int16_t montage, int32_t channel, int32_t first,
                                 int count, uint16_t* out);
typedef void (*ImpExitDLLFile)(const char* path, int zero);

#ifdef __cplusplus
}
static_assert(sizeof(ImpReadRequest) == 64, "the read request goes by value as 64 bytes");
#endif
