#include "app/scoring/learning_candidate.h"

#include "app/scoring/learning_sample_file.h"

LearningCandidate CandidateFromHeader(const LearningFileHeader& h, const std::string& fileName) {
  LearningCandidate c;
  c.RecordingFileName = h.recordingFileName;
  c.FileName = fileName;
  c.Day = h.day;
  c.No = h.no;
  c.Service = h.service;
  c.Engineer = h.engineer;
  c.Doctor = h.doctor;
  c.EpochTime = h.epochTime;
  c.StageType = h.stageType;
  c.Name = h.name;
  c.ID = h.id;
  c.Age = h.age;
  c.Sex = h.sex;
  c.Height = h.height;
  c.Weight = h.weight;
  c.LearningFileNames = h.learningFiles;
  return c;
}

LearningCandidate CandidateFromInfo(const LyrLearningInfo& info, const std::string& recordingName) {
  LearningCandidate c;
  c.FileName = recordingName;
  c.Similarity = 100;
  c.Day = info.day;
  c.No = info.no;
  c.Service = info.service;
  c.Engineer = info.engineer;
  c.Doctor = info.doctor;
  c.EpochTime = info.epochTime;
  c.StageType = info.stageType;
  c.Name = info.name;
  c.ID = info.id;
  c.Age = info.age;
  c.Sex = info.sex;
  c.Height = info.height;
  c.Weight = info.weight;
  return c;
}

void InfoFromCandidate(const LearningCandidate& raw, LyrLearningInfo* info) {
  info->day = raw.Day;
  info->no = raw.No;
  info->service = raw.Service;
  info->engineer = raw.Engineer;
  info->doctor = raw.Doctor;
  info->name = raw.Name;
  info->id = raw.ID;
  info->sex = raw.Sex;
  info->age = raw.Age;
  info->height = raw.Height;
  info->weight = raw.Weight;
}
