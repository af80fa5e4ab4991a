#include "math/Track.h"

namespace vardel {

/*
 * Divided differences over the keys used:
 *   d01 = (y1 - y0) / (t1 - t0), d12, d23 likewise;
 *   d012 = (d12 - d01) / (t2 - t0), d123 = (d23 - d12) / (t3 - t1);
 *   d0123 = (d123 - d012) / (t3 - t0).
 * The value is y0 + (t - t0)(d01 + (t - t1)(d012 + (t - t2) d0123)), truncated after the
 * terms the form has. The linear form keeps its own, shorter expression.
 */
double newtonValue(TrackForm form, const double* frames, const double* values, double t) {
    const double t0 = frames[0];
    const double y0 = values[0];
    switch (form) {
    case TrackForm::none:
    case TrackForm::exact:
        return y0;
    case TrackForm::linear:
        return y0 + (values[1] - y0) / (frames[1] - t0) * (t - t0);
    case TrackForm::quadratic:
    case TrackForm::cubic:
        break;
    }
    const double t1 = frames[1];
    const double t2 = frames[2];
    const double d01 = (values[1] - y0) / (t1 - t0);
    const double d12 = (values[2] - values[1]) / (t2 - t1);
    const double d012 = (d12 - d01) / (t2 - t0);
    if (form == TrackForm::quadratic) {
        return y0 + (t - t0) * (d01 + (t - t1) * d012);
    }
    const double t3 = frames[3];
    const double d23 = (values[3] - values[2]) / (t3 - t2);
    const double d123 = (d23 - d12) / (t3 - t1);
    const double d0123 = (d123 - d012) / (t3 - t0);
    return y0 + (t - t0) * (d01 + (t - t1) * (d012 + (t - t2) * d0123));
}

} // namespace vardel
