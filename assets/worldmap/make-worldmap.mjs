// Draws worldmap.png, the faint world map behind the clock-settings dialog.
//
// Regenerate with one command from anywhere:
//     assets/worldmap/make-worldmap.sh
// which installs the pinned npm packages (world-atlas, topojson-client) into
// assets/worldmap/node_modules and then runs this file. With node_modules in
// place, `node make-worldmap.mjs` in this folder does the drawing alone.
//
// The land comes from Natural Earth's 1:50m land polygons as packaged by
// world-atlas. They are projected onto a Miller cylindrical map of the whole
// world, filled with a scanline rasteriser at 4 x 4 samples per pixel, shaded
// pale grey with a slightly darker coast line, and written as a plain 24-bit
// RGB PNG (colour type 2, no alpha) with node's zlib. No native modules.

import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { deflateSync } from 'node:zlib';
import { feature } from 'topojson-client';

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);

const WIDTH = 338;
const HEIGHT = 251;
const SUPER = 4; // samples per pixel along each axis
const OUTPUT = join(here, 'worldmap.png');

const PAPER = [0xff, 0xff, 0xff];
const LAND = [0xdd, 0xdd, 0xdd];
const COAST = [0xc6, 0xc6, 0xc6];
const COAST_HALF_WIDTH = 2; // in samples: a coast line about one pixel wide
// Islands smaller than this many square pixels would only sprinkle grey dust over the
// oceans once the coast line is drawn round them; leave them out.
const MIN_ISLAND_AREA = 0.1;

// Latitudes shown at the top and bottom edges.
const NORTH = 90;
const SOUTH = -90;

// Miller cylindrical: like plate carree across, gently stretched towards the poles,
// and the whole world fits 338 x 251 almost exactly.
function millerY(lat) {
    const phi = (lat * Math.PI) / 180;
    return 1.25 * Math.log(Math.tan(Math.PI / 4 + 0.4 * phi));
}

function project(lon, lat) {
    const top = millerY(NORTH);
    const bottom = millerY(SOUTH);
    const x = ((lon + 180) / 360) * WIDTH * SUPER;
    const y = ((top - millerY(Math.max(SOUTH, Math.min(NORTH, lat)))) / (top - bottom)) * HEIGHT * SUPER;
    return [x, y];
}

// Rings arrive in spherical coordinates: a ring that crosses the antimeridian jumps
// between -180 and +180, and Antarctica's ring goes once round the pole. Make each
// ring continuous in longitude, close a pole-circling ring along the pole, and return
// the copies shifted by a whole turn that reach into the map.
function planarRings(ring) {
    const out = [];
    let shift = 0;
    let previous = ring[0][0];
    for (const [lon, lat] of ring) {
        if (lon + shift - previous > 180) shift -= 360;
        else if (lon + shift - previous < -180) shift += 360;
        previous = lon + shift;
        out.push([lon + shift, lat]);
    }
    const turn = out[out.length - 1][0] - out[0][0];
    if (Math.abs(turn) > 180) {
        const meanLat = out.reduce((sum, [, lat]) => sum + lat, 0) / out.length;
        const pole = meanLat < 0 ? -90 : 90;
        out.push([out[out.length - 1][0], pole], [out[0][0], pole]);
    }
    const lons = out.map(([lon]) => lon);
    const west = Math.min(...lons);
    const east = Math.max(...lons);
    const copies = [];
    for (const offset of [-720, -360, 0, 360, 720]) {
        if (east + offset > -180 && west + offset < 180) {
            copies.push(out.map(([lon, lat]) => [lon + offset, lat]));
        }
    }
    return copies;
}

function landRings() {
    const topology = JSON.parse(readFileSync(require.resolve('world-atlas/land-50m.json'), 'utf8'));
    const land = feature(topology, topology.objects.land);
    const geometries = land.type === 'FeatureCollection' ? land.features.map((f) => f.geometry) : [land.geometry];
    const rings = [];
    for (const geometry of geometries) {
        const polygons = geometry.type === 'Polygon' ? [geometry.coordinates] : geometry.coordinates;
        for (const polygon of polygons) {
            for (const ring of polygon) rings.push(...planarRings(ring));
        }
    }
    return rings;
}

function projectedArea(points) {
    let twice = 0;
    for (let i = 0; i < points.length; i++) {
        const [x0, y0] = points[i];
        const [x1, y1] = points[(i + 1) % points.length];
        twice += x0 * y1 - x1 * y0;
    }
    return Math.abs(twice) / 2 / (SUPER * SUPER);
}

// Even-odd scanline fill at the sample grid: a sample is land when its centre lies inside.
function rasterise(rings, width, height) {
    const crossings = Array.from({ length: height }, () => []);
    for (const ring of rings) {
        const points = ring.map(([lon, lat]) => project(lon, lat));
        if (projectedArea(points) < MIN_ISLAND_AREA) continue;
        for (let i = 0; i < points.length; i++) {
            const [x0, y0] = points[i];
            const [x1, y1] = points[(i + 1) % points.length];
            if (y0 === y1) continue;
            const [ya, yb, xa, xb] = y0 < y1 ? [y0, y1, x0, x1] : [y1, y0, x1, x0];
            const first = Math.max(0, Math.ceil(ya - 0.5));
            const last = Math.min(height - 1, Math.ceil(yb - 0.5) - 1);
            for (let row = first; row <= last; row++) {
                const yc = row + 0.5;
                crossings[row].push(xa + ((yc - ya) * (xb - xa)) / (yb - ya));
            }
        }
    }
    const mask = new Uint8Array(width * height);
    for (let row = 0; row < height; row++) {
        const xs = crossings[row].sort((a, b) => a - b);
        for (let k = 0; k + 1 < xs.length; k += 2) {
            const from = Math.max(0, Math.ceil(xs[k] - 0.5));
            const to = Math.min(width - 1, Math.ceil(xs[k + 1] - 0.5) - 1);
            mask.fill(1, row * width + from, row * width + to + 1);
        }
    }
    return mask;
}

// Samples within COAST_HALF_WIDTH of both land and sea lie on the coast line.
function coastOf(mask, width, height) {
    const r = COAST_HALF_WIDTH;
    const coast = new Uint8Array(width * height);
    for (let y = 0; y < height; y++) {
        for (let x = 0; x < width; x++) {
            let sawLand = false;
            let sawSea = false;
            for (let dy = -r; dy <= r && !(sawLand && sawSea); dy++) {
                const yy = y + dy;
                if (yy < 0 || yy >= height) continue;
                for (let dx = -r; dx <= r; dx++) {
                    if (dx * dx + dy * dy > r * r) continue;
                    // The map wraps round in longitude, so a coast never ends at the side edges.
                    const xx = (x + dx + width) % width;
                    if (mask[yy * width + xx]) sawLand = true;
                    else sawSea = true;
                }
            }
            coast[y * width + x] = sawLand && sawSea ? 1 : 0;
        }
    }
    return coast;
}

function shade(mask, coast) {
    const sw = WIDTH * SUPER;
    const rgb = Buffer.alloc(WIDTH * HEIGHT * 3);
    const samples = SUPER * SUPER;
    for (let y = 0; y < HEIGHT; y++) {
        for (let x = 0; x < WIDTH; x++) {
            let land = 0;
            let line = 0;
            for (let sy = 0; sy < SUPER; sy++) {
                for (let sx = 0; sx < SUPER; sx++) {
                    const i = (y * SUPER + sy) * sw + x * SUPER + sx;
                    land += mask[i];
                    line += coast[i];
                }
            }
            const fill = land / samples;
            const edge = line / samples;
            for (let c = 0; c < 3; c++) {
                const base = PAPER[c] + (LAND[c] - PAPER[c]) * fill;
                rgb[(y * WIDTH + x) * 3 + c] = Math.round(base + (COAST[c] - base) * edge);
            }
        }
    }
    return rgb;
}

const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
});

function crc32(bytes) {
    let c = 0xffffffff;
    for (const b of bytes) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
    const length = Buffer.alloc(4);
    length.writeUInt32BE(data.length);
    const body = Buffer.concat([Buffer.from(type, 'latin1'), data]);
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(crc32(body));
    return Buffer.concat([length, body, crc]);
}

function encodePng(rgb, width, height) {
    const header = Buffer.alloc(13);
    header.writeUInt32BE(width, 0);
    header.writeUInt32BE(height, 4);
    header[8] = 8; // bits per channel
    header[9] = 2; // colour type 2: RGB, no alpha, no palette
    header[10] = 0; // deflate
    header[11] = 0; // adaptive filtering
    header[12] = 0; // not interlaced
    const stride = width * 3;
    const raw = Buffer.alloc((stride + 1) * height);
    for (let y = 0; y < height; y++) {
        raw[y * (stride + 1)] = 0; // no filter
        rgb.copy(raw, y * (stride + 1) + 1, y * stride, (y + 1) * stride);
    }
    return Buffer.concat([
        Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
        chunk('IHDR', header),
        chunk('IDAT', deflateSync(raw, { level: 9 })),
        chunk('IEND', Buffer.alloc(0)),
    ]);
}

const sw = WIDTH * SUPER;
const sh = HEIGHT * SUPER;
const mask = rasterise(landRings(), sw, sh);
const rgb = shade(mask, coastOf(mask, sw, sh));
writeFileSync(OUTPUT, encodePng(rgb, WIDTH, HEIGHT));
console.log(`make-worldmap: wrote ${OUTPUT} (${WIDTH} x ${HEIGHT}, 24-bit RGB)`);
