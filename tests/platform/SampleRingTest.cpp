// The ring that carries live sound between a sound server's audio thread and
// the program thread.
#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "wave/SampleRing.h"

namespace {

using platform::wave::SampleRing;

// Whole numbers, which a float carries exactly.
std::vector<float> Counting(int16_t from, size_t n) {
  std::vector<float> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<int16_t>(from + static_cast<int16_t>(i));
  return v;
}

TEST(SampleRingTest, TakesWhatFitsGivesWhatIsThereAndWrapsInOrder) {
  SampleRing ring(5);
  std::vector<float> out(8, -1);
  EXPECT_EQ(ring.Read(out.data(), 3), 0u) << "empty";
  EXPECT_EQ(ring.Write(Counting(0, 4).data(), 4), 4u);
  EXPECT_EQ(ring.Read(out.data(), 3), 3u);
  EXPECT_EQ(ring.Write(Counting(4, 8).data(), 8), 4u) << "only four places are free";
  EXPECT_EQ(ring.Readable(), 5u);
  EXPECT_EQ(ring.Write(Counting(8, 1).data(), 1), 0u) << "full";
  EXPECT_EQ(ring.Read(out.data(), 8), 5u);
  EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 5), Counting(3, 5)) << "across the wrap";

  ring.Write(Counting(0, 2).data(), 2);
  ring.Clear();
  EXPECT_EQ(ring.Readable(), 0u);
  EXPECT_EQ(ring.Write(Counting(0, 9).data(), 9), 5u) << "a cleared ring has all its room";
}

// One thread pushes a counting sequence in chunks of random size while
// another pulls chunks of other random sizes: every sample must arrive, in
// order, once. A small ring makes both sides meet it full and empty often.
TEST(SampleRingTest, CarriesAnUnbrokenStreamBetweenTwoThreads) {
  constexpr size_t kTotal = 20'000'000;
  SampleRing ring(1021);
  std::thread producer([&ring] {
    std::mt19937 random(1);
    std::vector<float> chunk(1500);
    size_t sent = 0;
    while (sent < kTotal) {
      const size_t n = std::min<size_t>(kTotal - sent, random() % chunk.size() + 1);
      for (size_t i = 0; i < n; ++i) chunk[i] = static_cast<int16_t>(sent + i);
      size_t done = 0;
      while (done < n) {
        const size_t k = ring.Write(chunk.data() + done, n - done);
        if (k == 0) std::this_thread::yield();
        done += k;
      }
      sent += n;
    }
  });
  std::mt19937 random(2);
  std::vector<float> chunk(1500);
  size_t received = 0, breaks = 0;
  while (received < kTotal) {
    const size_t k = ring.Read(chunk.data(), random() % chunk.size() + 1);
    if (k == 0) std::this_thread::yield();
    for (size_t i = 0; i < k; ++i) breaks += chunk[i] != static_cast<int16_t>(received + i);
    received += k;
  }
  producer.join();
  EXPECT_EQ(breaks, 0u);
  EXPECT_EQ(ring.Readable(), 0u);
}

}  // namespace
