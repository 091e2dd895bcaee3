#pragma once
// The game's sounds, made here from sine waves (no recording is used): a soft click of a few
// hundredths of a second for a slide, and a chime of three bell-like notes, a major triad rising,
// for a finished picture. Both are 16-bit mono samples at 44,100 Hz that start and end in silence,
// so that they play without a crack; the WAVE file holds them for Qt's sound effects.

#include <cstdint>
#include <string>
#include <vector>

constexpr int kSampleRate = 44100;

std::vector<std::int16_t> ClickSamples();
std::vector<std::int16_t> ChimeSamples();

// A RIFF WAVE file of 16-bit mono PCM samples at the rate given.
std::string WaveFile(const std::vector<std::int16_t>& samples, int rate = kSampleRate);
