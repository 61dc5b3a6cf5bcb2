/* Compares the filter that SDL_audio_resampler_filter.h here makes with the
   tables of SDL's own header of that name, whose folder is on the include path:
   exits 1, naming the first entry that differs, unless every entry is within
   1e-6 of SDL's and both are the same size. Built and run by sdl2-build.sh. */
#include <math.h>
#include <stdio.h>

#include <SDL_audio_resampler_filter.h>

enum { sdl_size = RESAMPLER_FILTER_SIZE };
static const float *const sdl_filter = ResamplerFilter;
static const float *const sdl_difference = ResamplerFilterDifference;
#undef RESAMPLER_ZERO_CROSSINGS
#undef RESAMPLER_BITS_PER_SAMPLE
#undef RESAMPLER_SAMPLES_PER_ZERO_CROSSING
#undef RESAMPLER_FILTER_SIZE

#define SDL_sqrt sqrt
#define SDL_sinf sinf
#include "SDL_audio_resampler_filter.h"

int main(void)
{
    const double tolerance = 1.0e-6;
    int i;

    if (RESAMPLER_FILTER_SIZE != sdl_size) {
        fprintf(stderr, "the filter has %d entries, SDL's %d\n", RESAMPLER_FILTER_SIZE, sdl_size);
        return 1;
    }
    for (i = 0; i < sdl_size; i++) {
        if (fabs(ResamplerFilter[i] - sdl_filter[i]) > tolerance ||
            fabs(ResamplerFilterDifference[i] - sdl_difference[i]) > tolerance) {
            fprintf(stderr, "entry %d: %.9g and %.9g, SDL's %.9g and %.9g\n", i, ResamplerFilter[i],
                    ResamplerFilterDifference[i], sdl_filter[i], sdl_difference[i]);
            return 1;
        }
    }
    return 0;
}
