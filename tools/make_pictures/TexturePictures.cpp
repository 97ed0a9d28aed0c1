#include "tools/make_pictures/TexturePictures.h"

#include "tools/make_pictures/Noise.h"
#include "tools/make_pictures/Prng.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace textures {
namespace {

struct Rgb
{
    double r, g, b;
};

Rgb mix(const Rgb& a, const Rgb& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaled(const Rgb& c, double f)
{
    return {c.r * f, c.g * f, c.b * f};
}

double smoothstep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Distance between two points of the unit square measured round its edges.
double wrappedDistance(double u0, double v0, double u1, double v1)
{
    double du = std::fabs(u0 - u1);
    double dv = std::fabs(v0 - v1);
    du = std::min(du, 1 - du);
    dv = std::min(dv, 1 - dv);
    return std::hypot(du, dv);
}

using Shader = std::function<Rgb(double u, double v)>;

// Each pixel is the mean of a 3 x 3 grid of samples, which keeps fine
// detail from turning into sparkle when the map shrinks the picture.
QImage render(int side, const Shader& shader)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    constexpr int n = 3;
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const Rgb c = shader((x + (sx + 0.5) / n) / side, (y + (sy + 0.5) / n) / side);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            }
            const auto channel = [](double v) {
                return std::clamp(static_cast<int>(std::lround(v / (n * n))), 0, 255);
            };
            line[x] = qRgb(channel(sum.r), channel(sum.g), channel(sum.b));
        }
    }
    return image;
}

// Grainy brown stone, the ground of the floor, wall, gold and gem pictures.
Rgb brownStone(double u, double v, bool small, std::uint64_t seed, const Rgb& dark,
               const Rgb& light)
{
    const double broad = noise::fractal(u, v, small ? 3 : 4, 3, seed);
    const double grain = noise::value(u, v, small ? 16 : 48, seed + 99);
    return mix(dark, light, broad * 0.8 + grain * 0.35 - 0.1);
}

QPainterPath centreDiamond(int side, double halfDiagonal)
{
    const double c = side / 2.0;
    const double h = side * halfDiagonal;
    QPainterPath path;
    path.moveTo(c, c - h);
    path.lineTo(c + h, c);
    path.lineTo(c, c + h);
    path.lineTo(c - h, c);
    path.closeSubpath();
    return path;
}

// The owner's colour shows through the diamond; a dark rim keeps its edge
// visible whatever the colour.
void punchDiamond(QImage& image, bool small, const QColor& rim)
{
    const int side = image.width();
    const double half = small ? 0.25 : 0.2;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(rim);
    painter.drawPath(centreDiamond(side, half + (small ? 0.07 : 0.045)));
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.drawPath(centreDiamond(side, half));
}

QImage claimedDirt(int side, bool small)
{
    const Rgb dark{88, 56, 30};
    const Rgb light{160, 110, 66};
    const Rgb joint{38, 22, 10};
    const double jointHalf = small ? 0.05 : 0.022;
    QImage image = render(side, [&](double u, double v) {
        Rgb c = brownStone(u, v, small, 1901, dark, light);
        // Four flagstones: lighter towards their upper left edge, darker
        // towards the lower right, with a dark joint between them.
        const double fu = std::fmod(u * 2, 1.0);
        const double fv = std::fmod(v * 2, 1.0);
        const double toJoint = std::min({fu, 1 - fu, fv, 1 - fv}) / 2;
        const double bevel = small ? 0.09 : 0.04;
        if (fu < bevel * 2 || fv < bevel * 2)
            c = scaled(c, 1.18);
        else if (fu > 1 - bevel * 2 || fv > 1 - bevel * 2)
            c = scaled(c, 0.78);
        return mix(joint, c, smoothstep(jointHalf * 0.8, jointHalf * 1.2, toJoint));
    });
    punchDiamond(image, small, QColor(40, 24, 12));
    return image;
}

QImage ownedRock(int side, bool small)
{
    const Rgb dark{150, 76, 24};
    const Rgb light{224, 140, 64};
    const Rgb shadow{70, 32, 8};
    const int notches = small ? 2 : 4;
    const double band = small ? 0.13 : 0.085;
    QImage image = render(side, [&](double u, double v) {
        Rgb c = brownStone(u, v, small, 2001, dark, light);
        // A raised rim round the block with square notches cut into it at
        // regular steps along every edge.
        const double edge = std::min({u, 1 - u, v, 1 - v});
        const double along = (u < band || u > 1 - band) ? v : u;
        const double step = std::fmod(along * notches + 0.5, 1.0);
        const bool notch = std::fabs(step - 0.5) < (small ? 0.22 : 0.16);
        if (edge < band) {
            if (notch && edge < band * 0.85)
                return scaled(shadow, 0.9 + 0.2 * noise::value(u, v, 24, 7));
            const bool lit = (u < band && u <= v) || (v < band && v < u);
            return scaled(c, lit ? 1.2 : 0.75);
        }
        if (edge < band * 1.25)
            return shadow;
        return c;
    });
    punchDiamond(image, small, QColor(70, 32, 8));
    return image;
}

QImage soldRock(int side, bool small)
{
    const int layers = small ? 4 : 8;
    QImage image = render(side, [&](double u, double v) {
        const double warp = noise::fractal(u, v, 3, 3, 2101) - 0.5;
        const double t = v * layers + warp * 1.6 + 0.25 * std::sin(u * 2 * M_PI);
        const double layer = std::floor(t);
        const double within = t - layer;
        const int index = ((static_cast<int>(layer) % layers) + layers) % layers;
        const double tone =
            static_cast<double>(Prng::mix(2102 + static_cast<std::uint64_t>(index)) & 0xFF) / 255;
        const Rgb base = mix(Rgb{96, 62, 34}, Rgb{156, 108, 64}, tone);
        const double grain = noise::value(u, v * 0.5, small ? 12 : 40, 2103);
        Rgb c = scaled(base, 0.85 + 0.3 * grain);
        // Dark seams between the layers, with a lighter top edge on each.
        const double seam = small ? 0.22 : 0.1;
        if (within < seam)
            return mix(Rgb{48, 28, 14}, c, within / seam * 0.5);
        if (within < seam * 2)
            return scaled(c, 1.15);
        return c;
    });
    return image;
}

QImage rock(int side, bool small)
{
    const int period = small ? 3 : 5;
    QImage image = render(side, [&](double u, double v) {
        const auto cells = noise::cellular(u, v, period, 2201);
        const double broad = noise::fractal(u, v, 4, 3, 2202);
        const double grain = noise::value(u, v, small ? 16 : 44, 2203);
        Rgb c = mix(Rgb{112, 44, 28}, Rgb{176, 82, 52}, broad * 0.9 + grain * 0.3 - 0.1);
        // Chunks lit from the upper left, with dark cracks between them.
        c = scaled(c, 1.15 - 0.45 * cells.nearest);
        const double crack = cells.second - cells.nearest;
        return mix(Rgb{42, 16, 10}, c, smoothstep(0.02, small ? 0.16 : 0.1, crack));
    });
    return image;
}

QImage dirt(int side, bool small)
{
    QImage image = render(side, [&](double u, double v) {
        const double broad = noise::fractal(u, v, small ? 3 : 6, 3, 2301);
        const double grain = noise::value(u, v, small ? 14 : 56, 2302);
        const double crumbs = noise::value(u, v, small ? 9 : 26, 2303);
        Rgb c = mix(Rgb{138, 124, 104}, Rgb{196, 184, 164}, broad * 0.8 + grain * 0.4 - 0.1);
        // Scattered crumbs and pebbles, darker than the soil around them.
        if (crumbs > 0.78)
            c = mix(c, Rgb{104, 90, 72}, smoothstep(0.78, 0.84, crumbs));
        else if (crumbs < 0.16)
            c = mix(c, Rgb{214, 206, 190}, smoothstep(0.16, 0.1, crumbs));
        return c;
    });
    return image;
}

QImage water(int side, bool small)
{
    const int waves = small ? 3 : 6;
    QImage image = render(side, [&](double u, double v) {
        const double warp = noise::fractal(u, v, 3, 2, 2401) - 0.5;
        const double depth = noise::fractal(u, v, small ? 2 : 4, 3, 2402);
        Rgb c = mix(Rgb{16, 92, 112}, Rgb{44, 146, 150}, depth);
        // Wavy crests running across the water, bright on their upper side.
        const double phase = v * waves + warp * 1.2 + 0.18 * std::sin(u * 4 * M_PI);
        const double crest = std::fmod(phase + 10, 1.0);
        if (crest < 0.12)
            c = mix(c, Rgb{170, 226, 218}, 1 - std::fabs(crest - 0.06) / 0.06);
        else if (crest < 0.3)
            c = scaled(c, 0.82);
        return c;
    });
    return image;
}

QImage lava(int side, bool small)
{
    const int period = small ? 3 : 5;
    QImage image = render(side, [&](double u, double v) {
        const auto cells = noise::cellular(u, v, period, 2501);
        const double edge = cells.second - cells.nearest;
        const double flicker = noise::fractal(u, v, 6, 2, 2502);
        const double width = small ? 0.32 : 0.2;
        const double glow = std::exp(-edge / (width * (0.7 + 0.6 * flicker)));
        // Black crust; the cracks between the plates glow from dark red
        // through orange to a yellow core.
        Rgb c{14, 6, 4};
        c = mix(c, Rgb{150, 24, 0}, smoothstep(0.25, 0.5, glow));
        c = mix(c, Rgb{255, 120, 0}, smoothstep(0.5, 0.75, glow));
        c = mix(c, Rgb{255, 236, 120}, smoothstep(0.82, 0.97, glow));
        return c;
    });
    return image;
}

struct Speck
{
    double u, v, radius;
    int kind;
};

std::vector<Speck> scatter(int count, double radius, int kinds, std::uint64_t seed)
{
    Prng random(seed);
    std::vector<Speck> specks;
    for (int attempt = 0; attempt < 4000 && static_cast<int>(specks.size()) < count; ++attempt) {
        const Speck s{random.uniform(), random.uniform(), radius * random.uniform(0.8, 1.2),
                      random.below(kinds)};
        const bool clear = std::all_of(specks.begin(), specks.end(), [&](const Speck& other) {
            return wrappedDistance(s.u, s.v, other.u, other.v) > (s.radius + other.radius) * 1.6;
        });
        if (clear)
            specks.push_back(s);
    }
    return specks;
}

QImage gold(int side, bool small)
{
    const auto nuggets = scatter(small ? 4 : 10, small ? 0.13 : 0.075, 1, 2601);
    QImage image = render(side, [&](double u, double v) {
        Rgb c = brownStone(u, v, small, 2602, Rgb{80, 52, 30}, Rgb{138, 96, 58});
        for (const Speck& n : nuggets) {
            // Lumpy outline: the radius wobbles with the angle.
            const double du = std::remainder(u - n.u, 1.0);
            const double dv = std::remainder(v - n.v, 1.0);
            const double angle = std::atan2(dv, du);
            const double r = n.radius * (1 + 0.22 * std::sin(3 * angle + n.u * 20) +
                                         0.12 * std::sin(5 * angle + n.v * 20));
            const double d = std::hypot(du, dv) / r;
            if (d < 1.15) {
                const double light = -(du + dv) / (r * 1.6);
                Rgb metal = mix(Rgb{196, 140, 16}, Rgb{255, 222, 60}, 0.6 + light);
                if (light > 0.25 && d < 0.6)
                    metal = mix(metal, Rgb{255, 250, 190}, (light - 0.25) * 2);
                const Rgb rim = mix(Rgb{60, 36, 10}, c, smoothstep(1.0, 1.15, d));
                c = d < 1.0 ? metal : rim;
            }
        }
        return c;
    });
    return image;
}

QImage gems(int side, bool small)
{
    const auto specks = scatter(small ? 5 : 12, small ? 0.11 : 0.07, 2, 2701);
    const Rgb colours[2][2] = {{Rgb{20, 150, 50}, Rgb{120, 255, 140}},
                               {Rgb{170, 10, 20}, Rgb{255, 110, 110}}};
    QImage image = render(side, [&](double u, double v) {
        Rgb c = brownStone(u, v, small, 2702, Rgb{82, 54, 32}, Rgb{140, 98, 60});
        for (const Speck& s : specks) {
            // Cut stones: diamond-shaped, with a lit upper-left facet.
            const double du = std::remainder(u - s.u, 1.0);
            const double dv = std::remainder(v - s.v, 1.0);
            const double d = (std::fabs(du) + std::fabs(dv)) / s.radius;
            if (d < 1.0) {
                const Rgb* tone = colours[s.kind];
                c = (du < 0 && dv < 0) || d < 0.35 ? tone[1] : tone[0];
                if (du + dv > 0.3 * s.radius)
                    c = scaled(tone[0], 0.7);
            } else if (d < 1.25) {
                c = mix(Rgb{30, 18, 10}, c, (d - 1.0) / 0.25);
            }
        }
        return c;
    });
    return image;
}

} // namespace

QImage texture(int terrain, int side, bool small)
{
    switch (terrain) {
    case 19:
        return claimedDirt(side, small);
    case 20:
        return ownedRock(side, small);
    case 21:
        return soldRock(side, small);
    case 22:
        return rock(side, small);
    case 23:
        return dirt(side, small);
    case 24:
        return water(side, small);
    case 25:
        return lava(side, small);
    case 26:
        return gold(side, small);
    case 27:
        return gems(side, small);
    default:
        return {};
    }
}

} // namespace textures
