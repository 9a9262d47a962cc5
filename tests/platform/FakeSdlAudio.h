#pragma once

// A stand-in for SDL's audio, with an audio thread of its own: the test
// asks it to run a device's callback with so many samples, on that thread,
// and waits until it has. It keeps SDL's contract: a device is opened
// paused, and once a pause (or a close) returns, its callback is not running
// and does not run again until resumed. Opens and closes can be held back,
// as a sound server that stopped answering holds SDL's; opens can be refused
// (no device), and a device disconnected, as SDL finds it when its server
// goes. It logs what the drivers did.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "wave/SdlAudioCalls.h"

class FakeSdlAudio : public platform::wave::SdlAudioCalls {
 public:
  FakeSdlAudio() : thread_([this] { Run(); }) {}
  ~FakeSdlAudio() override {
    Post([this] { stop_ = true; });
    thread_.join();
  }

  bool Load(std::string *) override { return true; }
  int InitSubSystem(Uint32) override { return Note("init"), 0; }
  void QuitSubSystem(Uint32) override { Note("quit"); }
  SDL_AudioDeviceID OpenAudioDevice(const char *name, int capture, const SDL_AudioSpec *desired, SDL_AudioSpec *,
                                    int) override {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !holdOpens_; });
    if ((name && std::string(name) != Name(capture)) || refuse_) return 0;
    devices_[++last_] = Device{desired->callback, desired->userdata, capture != 0};
    log_.push_back("open " + std::to_string(last_));
    changed_.notify_all();
    return last_;
  }
  // Taking the device's callback lock waits for a callback in progress.
  void PauseAudioDevice(SDL_AudioDeviceID id, int pause) override {
    std::lock_guard callback(CallbackLock(id));
    std::lock_guard lock(mutex_);
    devices_[id].paused = pause != 0;
    log_.push_back((pause ? "pause " : "resume ") + std::to_string(id));
    changed_.notify_all();
  }
  void CloseAudioDevice(SDL_AudioDeviceID id) override {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !holdCloses_; });
    devices_[id].closed = true;
    log_.push_back("close " + std::to_string(id));
    changed_.notify_all();
  }
  SDL_AudioStatus GetAudioDeviceStatus(SDL_AudioDeviceID id) override {
    std::lock_guard lock(mutex_);
    const Device &d = devices_[id];
    return d.disconnected || d.closed ? SDL_AUDIO_STOPPED : d.paused ? SDL_AUDIO_PAUSED : SDL_AUDIO_PLAYING;
  }
  const char *GetError() override { return "no such device"; }
  int GetNumAudioDevices(int) override { return 1; }
  const char *GetAudioDeviceName(int, int capture) override { return Name(capture); }
  const char *GetCurrentAudioDriver() override { return "fake"; }
  void TLSCleanup() override {}

  // Runs device `id`'s callback once on the audio thread over `samples`
  // (capture: what it records; playback: filled with what it plays) and
  // waits for it; false when the device is paused or closed.
  bool Exchange(SDL_AudioDeviceID id, std::vector<int16_t> *samples) {
    bool ran = false;
    Post([&] {
      std::lock_guard callback(CallbackLock(id));
      Device device;
      {
        std::lock_guard lock(mutex_);
        device = devices_[id];
      }
      if (device.paused || device.closed) return;
      device.callback(device.user, reinterpret_cast<Uint8 *>(samples->data()), static_cast<int>(2 * samples->size()));
      ran = true;
    });
    return ran;
  }
  // Closes (or opens) wait until released, as on a server that stopped answering.
  void HoldCloses(bool hold) { Set(&holdCloses_, hold); }
  void HoldOpens(bool hold) { Set(&holdOpens_, hold); }
  // Opens fail, as with no device there.
  void Refuse(bool refuse) { Set(&refuse_, refuse); }
  // SDL has found the device gone: its status is stopped, its callback goes on.
  void Disconnect(SDL_AudioDeviceID id) {
    std::lock_guard lock(mutex_);
    devices_[id].disconnected = true;
  }
  // Waits until `entry` is in the log.
  void WaitFor(const std::string &entry) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return std::find(log_.begin(), log_.end(), entry) != log_.end(); });
  }
  void WaitClosed(SDL_AudioDeviceID id) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return devices_[id].closed; });
  }
  std::vector<std::string> Log() {
    std::lock_guard lock(mutex_);
    return log_;
  }

 private:
  struct Device {
    SDL_AudioCallback callback = nullptr;
    void *user = nullptr;
    bool capture = false;
    bool paused = true;
    bool closed = false;
    bool disconnected = false;
  };

  void Set(bool *flag, bool on) {
    std::lock_guard lock(mutex_);
    *flag = on;
    changed_.notify_all();
  }

  static const char *Name(int capture) { return capture ? "Fake microphone" : "Fake speaker"; }
  void Note(const char *what) {
    std::lock_guard lock(mutex_);
    log_.push_back(what);
    changed_.notify_all();
  }
  std::mutex &CallbackLock(SDL_AudioDeviceID id) {
    std::lock_guard lock(mutex_);
    return callbackLocks_[id];
  }
  // Runs `job` on the audio thread and waits for it.
  void Post(std::function<void()> job) {
    std::unique_lock lock(mutex_);
    job_ = std::move(job);
    changed_.notify_all();
    changed_.wait(lock, [this] { return !job_; });
  }
  void Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
      changed_.wait(lock, [this] { return static_cast<bool>(job_); });
      std::function<void()> job = job_;
      lock.unlock();
      job();
      lock.lock();
      job_ = nullptr;
      changed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<SDL_AudioDeviceID, Device> devices_;
  std::map<SDL_AudioDeviceID, std::mutex> callbackLocks_;
  std::vector<std::string> log_;
  SDL_AudioDeviceID last_ = 0;
  bool holdCloses_ = false;
  bool holdOpens_ = false;
  bool refuse_ = false;
  std::function<void()> job_;
  bool stop_ = false;
  std::thread thread_;  // last: it starts once the rest is made
};
