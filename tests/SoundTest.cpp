// The sounds as the player hears them: each row of the table synthesised,
// mixed with the others, and queued by the passes of a whole game.
#include "TestGame.h"
#include "sound/Mixer.h"

constexpr int rate = 48000;

static int peakOf(const std::vector<Sample>& samples) {
    return std::abs(std::ranges::max(samples, {}, [](Sample s) { return std::abs(s); }));
}

// Half the changes of sign in a second: the pitch of a square or triangle wave.
static double pitchOf(const std::vector<Sample>& samples, int sampleRate) {
    int changes = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        changes += (samples[i] < 0) != (samples[i - 1] < 0);
    }
    return changes * 0.5 * sampleRate / double(samples.size());
}

TEST(Sound, EachStartsAndEndsInSilenceLastsItsLengthAndPeaksAtItsVolumeAtMostHalfScale) {
    for (const int sampleRate : {22050, 44100, rate}) {
        for (const Tone& tone : tones) {
            SCOPED_TRACE(testing::Message() << tone.startHz << " Hz at " << sampleRate);
            const std::vector<Sample> s = synthesise(tone, sampleRate);
            ASSERT_EQ(s.size(), std::size_t(std::lround(tone.seconds * sampleRate)));
            const int peak = peakOf(s);
            EXPECT_LE(peak, 16384);
            EXPECT_GE(peak, 0.8 * tone.volume * fullScale);
            // Ramps, not steps: no click as a sound starts or stops.
            EXPECT_EQ(std::tuple(s[0], s.back()), std::tuple(0, 0));
            EXPECT_LE(std::abs(s[1]), peak / 10);
            EXPECT_LE(std::abs(s[s.size() - 2]), peak / 10);
            // An even sweep in octaves averages (end - start) / ln(end / start).
            const double sweep = (tone.endHz - tone.startHz) / std::log(tone.endHz / tone.startHz);
            if (tone.wave != Wave::Noise) {
                EXPECT_NEAR(pitchOf(s, sampleRate), sweep, sweep * 0.05);
            }
        }
    }
    // The three jumps climb, so that the player hears which one it was.
    const auto pitch = [](Sound jump) { return pitchOf(synthesise(toneOf(jump), rate), rate); };
    EXPECT_GT(pitch(Sound::AirJump), pitch(Sound::Jump) * 1.2);
    EXPECT_GT(pitch(Sound::SecondAirJump), pitch(Sound::AirJump) * 1.2);
}

// The samples of every sound at once, added up and clipped to full scale.
static int allAt(const Mixer& mixer, std::size_t i) {
    int sum = 0;
    for (const std::vector<Sample>& sound : mixer.sounds) {
        sum += sound[i];
    }
    return std::clamp(sum, -32768, 32767);
}

TEST(Sound, TheMixerAddsVoicesClipsThemAtFullScaleFadesAHushAndIsOtherwiseExactSilence) {
    Mixer mixer(rate);
    std::vector<Sample> out(rate);
    mixer.mix(out);
    EXPECT_EQ(std::ranges::count(out, 0), rate);
    // Every sound at once goes past full scale: clipped there, never wrapped around.
    for (std::size_t i = 0; i < soundCount; ++i) {
        mixer.start(Sound(i));
    }
    std::vector<Sample> all(960);
    mixer.mix(all);
    for (std::size_t i = 0; i < all.size(); ++i) {
        ASSERT_EQ(all[i], allAt(mixer, i)) << "sample " << i;
    }
    // A hush fades them from where they are down to exact silence within 5 ms.
    mixer.hush();
    mixer.mix(out);
    EXPECT_EQ(out[0], allAt(mixer, 960));
    EXPECT_LE(peakOf({out.begin() + 220, out.begin() + 240}), 5000);
    EXPECT_EQ(std::count(out.begin() + 240, out.end(), 0), rate - 240);
}

// The names of the sounds the last pass queued.
static std::string heard(TestGame& t, SDL_Scancode scancode, double dt = 1.0 / 60) {
    t.pass(dt, key(scancode));
    const char* names[soundCount] = {"start", "jump", "air jump", "second air jump", "point", "death"};
    std::string all;
    for (std::size_t i = 0; i < soundCount; ++i) {
        all += t.game.heard.test(i) ? names[i] + std::string(";") : "";
    }
    return all;
}

TEST(Cues, APassQueuesTheSoundsOfWhatItDidAndNoneWhileMuted) {
    TestGame t; // X is bound to nothing
    EXPECT_EQ(heard(t, SDL_SCANCODE_X), "");
    EXPECT_EQ(heard(t, SDL_SCANCODE_SPACE), "start;");
    EXPECT_EQ(heard(t, SDL_SCANCODE_X, 0.35), "");
    EXPECT_EQ(heard(t, SDL_SCANCODE_X), "point;"); // on the floor
    EXPECT_EQ(heard(t, SDL_SCANCODE_SPACE), "jump;");
    EXPECT_EQ(heard(t, SDL_SCANCODE_SPACE), "air jump;");
    EXPECT_EQ(heard(t, SDL_SCANCODE_SPACE), "second air jump;");
    EXPECT_EQ(heard(t, SDL_SCANCODE_SPACE), ""); // none left
    // The impulse runs out: the timer below 0, then back at 0.
    EXPECT_EQ(heard(t, SDL_SCANCODE_X, 0.5), "");
    EXPECT_EQ(heard(t, SDL_SCANCODE_X), "");
    // Space in a pass of a whole second that also lands on a new block, one air jump used: a
    // jump from that block, and its point.
    t.game.blocks.emplace_front(0.4, 0.9, 0.2, 0.05, 0.005, nullptr);
    t.game.player.y = 0.8;
    t.game.player.jumpCount = 1;
    EXPECT_EQ(heard(t, SDL_SCANCODE_SPACE, 1.0), "jump;point;");
    // Muted, a jump is silent; M again brings the sound back.
    EXPECT_EQ(heard(t, SDL_SCANCODE_M), "");
    EXPECT_EQ(heard(t, SDL_SCANCODE_SPACE), "");
    EXPECT_EQ(heard(t, SDL_SCANCODE_M), "");
    EXPECT_EQ(heard(t, SDL_SCANCODE_SPACE), "second air jump;"); // the muted one was a jump
    // In debug mode M prints the blocks and leaves the sound on; 9 scores, heard as a point.
    EXPECT_EQ(heard(t, SDL_SCANCODE_GRAVE), "");
    EXPECT_EQ(heard(t, SDL_SCANCODE_M), "");
    EXPECT_EQ(heard(t, SDL_SCANCODE_9), "point;");
    EXPECT_EQ(heard(t, SDL_SCANCODE_GRAVE), "");
    EXPECT_EQ(heard(t, SDL_SCANCODE_X, 10.0), "death;");
    EXPECT_EQ(heard(t, SDL_SCANCODE_M), "");
    EXPECT_TRUE(t.game.muted);
}

TEST(Cues, ADeathShakesThePadsUnlessMuted) {
    for (const bool muted : {false, true}) {
        TestGame t;
        VirtualPad pad;
        GameState = State::Playing;
        t.game.muted = muted;
        t.pass(0.0); // plugs the pad in
        t.game.player.x = 1.5;
        t.pass(0.0);
        EXPECT_EQ(pad.shaken, muted ? 0 : rumbleStrength) << "muted " << muted;
    }
}
