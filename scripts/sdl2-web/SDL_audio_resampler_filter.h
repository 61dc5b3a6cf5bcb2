/*
  Replaces SDL's own header of this name in the web build (scripts/sdl2-build.sh),
  for the page's download. SDL carries its resampling filter as two tables of
  2,561 floats, 20 KB that gzip hardly shrinks; they come along as soon as a
  page opens audio, although the game opens its device at the browser's own
  rate and so never resamples. Here the same filter is made on its first use,
  the way SDL's build-scripts/gen_audio_resampler_filter.c makes the tables: a
  Kaiser window for 80 dB times a sinc, over five zero crossings. The build
  checks the two against each other before it uses this file.

  The page's SDL runs on one thread, so the first use needs no lock.
*/

#define RESAMPLER_ZERO_CROSSINGS 5
#define RESAMPLER_BITS_PER_SAMPLE 16
#define RESAMPLER_SAMPLES_PER_ZERO_CROSSING (1 << ((RESAMPLER_BITS_PER_SAMPLE / 2) + 1))
#define RESAMPLER_FILTER_SIZE ((RESAMPLER_SAMPLES_PER_ZERO_CROSSING * RESAMPLER_ZERO_CROSSINGS) + 1)

typedef struct ResamplerTables
{
    float filter[RESAMPLER_FILTER_SIZE];
    float difference[RESAMPLER_FILTER_SIZE];
    int made;
} ResamplerTables;

/* The modified Bessel function I0 by its series, each term from the one before. */
static double ResamplerBessel(const double x)
{
    const double quarter_square = x * x / 4.0;
    double sum = 1.0;
    double term = 1.0;
    int k;

    for (k = 1;; k++) {
        term *= quarter_square / ((double)k * (double)k);
        if (term < 1.0e-21) {
            return sum;
        }
        sum += term;
    }
}

static const ResamplerTables *ResamplerMadeTables(void)
{
    static ResamplerTables tables;
    const double beta = 0.1102 * (80.0 - 8.7); /* for 80 dB of stopband attenuation */
    const int last = RESAMPLER_FILTER_SIZE - 1;
    double bessel_beta;
    int i;

    if (tables.made) {
        return &tables;
    }
    bessel_beta = ResamplerBessel(beta);
    tables.filter[0] = 1.0f;
    for (i = 1; i < RESAMPLER_FILTER_SIZE; i++) {
        const double t = ((i - last) / 2.0) / (last / 2);
        tables.filter[last + 1 - i] = (float)(ResamplerBessel(beta * SDL_sqrt(1.0 - t * t)) / bessel_beta);
    }
    for (i = 1; i < RESAMPLER_FILTER_SIZE; i++) {
        const float x = ((float)i / (float)RESAMPLER_SAMPLES_PER_ZERO_CROSSING) * (float)M_PI;
        tables.filter[i] *= SDL_sinf(x) / x;
        tables.difference[i - 1] = tables.filter[i] - tables.filter[i - 1];
    }
    tables.difference[last] = 0.0f;
    tables.made = 1;
    return &tables;
}

#define ResamplerFilter (ResamplerMadeTables()->filter)
#define ResamplerFilterDifference (ResamplerMadeTables()->difference)
