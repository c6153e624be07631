// The peer the header raster is measured against: the npm package @point-of-sale/receipt-printer-encoder
// 4.0.1 encoding the same 800 x 200 dots as an ESC/POS raster image, thresholded. Run it from a directory
// where that package is installed, next to bench_printing, on a quiet machine or in the same window:
//   npm install --prefix /tmp/raster-peer @point-of-sale/receipt-printer-encoder@4.0.1
//   cd /tmp/raster-peer && node SOURCE/benchmarks/printing/npm-raster-baseline.mjs SOURCE/resources/printheader.bmp
// Prints the median wall and CPU time per image over five rounds; the dots are handed over as RGBA, opaque.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';

const require = createRequire(join(process.cwd(), 'package.json'));
const peer = require('@point-of-sale/receipt-printer-encoder');
const ReceiptPrinterEncoder = peer.default ?? peer;

// An uncompressed 24- or 32-bit BMP as RGBA rows, top row first.
function readBmp(path) {
    const b = readFileSync(path);
    const offset = b.readUInt32LE(10);
    const width = b.readInt32LE(18);
    const height = b.readInt32LE(22);
    const bits = b.readUInt16LE(28);
    if (b.toString('latin1', 0, 2) !== 'BM' || (bits !== 24 && bits !== 32) || b.readUInt32LE(30) !== 0)
        throw new Error(`${path}: not an uncompressed 24- or 32-bit BMP`);
    const rows = Math.abs(height);
    const stride = Math.ceil((width * bits) / 32) * 4;
    const data = new Uint8ClampedArray(width * rows * 4);
    for (let y = 0; y < rows; ++y) {
        const line = offset + (height > 0 ? rows - 1 - y : y) * stride;
        for (let x = 0; x < width; ++x) {
            const s = line + (x * bits) / 8;
            const d = (y * width + x) * 4;
            data[d] = b[s + 2];
            data[d + 1] = b[s + 1];
            data[d + 2] = b[s];
            data[d + 3] = 255;
        }
    }
    return { data, width, height: rows };
}

const image = readBmp(process.argv[2]);
const run = () =>
    new ReceiptPrinterEncoder({ language: 'esc-pos', imageMode: 'raster' })
        .image(image, image.width, image.height, 'threshold', 128)
        .encode();
for (let i = 0; i < 20; i++) run();
const n = 40;
const wall = [];
const cpu = [];
for (let round = 0; round < 5; round++) {
    const t0 = process.hrtime.bigint();
    const c0 = process.cpuUsage();
    for (let i = 0; i < n; i++) run();
    const c = process.cpuUsage(c0);
    wall.push(Number(process.hrtime.bigint() - t0) / n / 1e3);
    cpu.push((c.user + c.system) / n);
}
wall.sort((a, b) => a - b);
cpu.sort((a, b) => a - b);
console.log(
    `receipt-printer-encoder 4.0.1, ${image.width}x${image.height} RGBA raster: ` +
        `wall median ${wall[2].toFixed(0)} us, cpu median ${cpu[2].toFixed(0)} us per image`,
);
