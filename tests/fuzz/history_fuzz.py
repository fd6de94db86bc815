#!/usr/bin/env python3
"""Crafted history directories against lorvane-cli, for a sanitizer build.

Makes one real search, then copies its history directory RUNS times with a
mutated result.lvn (bytes changed, cut, inserted: line ends, 0x08, 0x1A, NUL,
long digit runs, lines of megabytes, index lines of any number) and sometimes a
crafted, missing or high-numbered result file, and runs restore, page and
history on each. Counts crashes (a signal, an AddressSanitizer or
UndefinedBehaviorSanitizer report), hangs (60 s) and allocations over 64 MB
(ASan's max_allocation_size_mb). Not part of ctest: a lab tool.

Usage: history_fuzz.py LORVANE_CLI RUNS SEED   (work files under /tmp/fz)
"""
import os, random, subprocess, shutil, sys
cli = sys.argv[1]; runs = int(sys.argv[2]); seed = int(sys.argv[3])
random.seed(seed)
os.makedirs('/tmp/fz', exist_ok=True)
base = '/tmp/fz/run'
crash = 0; hang = 0; big = 0; codes = {}
env = dict(os.environ, SUITE_CODEPAGE='gbk',
           ASAN_OPTIONS='max_allocation_size_mb=64:allocator_may_return_null=0:detect_leaks=0',
           UBSAN_OPTIONS='halt_on_error=1')
log = open('/tmp/fz/sample.log','wb'); 
for i in range(30000): log.write(b'line %d ERROR x\r\n' % i if i % 7 == 0 else b'line %d ok\r\n' % i)
log.close()
def mutate(b):
    b = bytearray(b)
    for _ in range(random.randint(1, 8)):
        op = random.random()
        if op < 0.3 and b: b[random.randrange(len(b))] = random.randrange(256)
        elif op < 0.5: b[random.randrange(len(b)+1):0] = random.choice([b'\r\n', b'\n', b'\x08', b'\x1a', b'\x00', b'9'*random.randint(1,30), b'-', b'_mp[', b']=', b';', b'x'*random.choice([10, 5000, 2000000])])
        elif op < 0.7 and b: 
            s = random.randrange(len(b)); del b[s:s+random.randint(1, 50)]
        else:
            b += random.choice([b'_mp[%d]=%d;\r\n' % (random.randint(-5, 10**12), random.randint(-5, 10**15)), b'\r\n'])
    return bytes(b)
# a real history first
shutil.rmtree(base, ignore_errors=True); os.makedirs(base)
shutil.copy(cli, base + '/lorvane-cli')
subprocess.run([base + '/lorvane-cli', 'search', 'ERROR', '0', '/tmp/fz/sample.log'], env=env, capture_output=True)
work = base + '/__Lorvane__'
orig = [d for d in os.listdir(work) if d[0].isdigit()][0]
origdir = work + '/' + orig
desc = open(origdir + '/result.lvn','rb').read()
for r in range(runs):
    d = work + '/2026%04d_%06d' % (r % 10000, r)
    shutil.copytree(origdir, d)
    open(d + '/result.lvn','wb').write(mutate(desc))
    k = random.random()
    if k < 0.3:
        open(d + '/%06d.txt' % random.choice([0, 1, 5, 999999999]), 'wb').write(mutate(open(origdir + '/000000.txt','rb').read()[:5000]))
    elif k < 0.4:
        os.remove(d + '/000000.txt')
    for cmd in (['restore', d + '/result.lvn'], ['page', d + '/result.lvn', str(random.randint(-3, 40000)), str(random.randint(-3, 2000))], ['history']):
        try:
            p = subprocess.run([base + '/lorvane-cli'] + cmd, env=env, capture_output=True, timeout=60)
        except subprocess.TimeoutExpired:
            hang += 1; print('HANG', d, cmd); continue
        codes[(cmd[0], p.returncode)] = codes.get((cmd[0], p.returncode), 0) + 1
        err = p.stderr.decode('utf-8', 'replace')
        if 'allocation-size-too-big' in err or 'requested allocation size' in err:
            big += 1; print('BIG', d, cmd); shutil.copytree(d, '/tmp/fz/keep_%d' % r, dirs_exist_ok=True)
        elif p.returncode < 0 or 'ERROR: AddressSanitizer' in err or 'runtime error' in err:
            crash += 1; print('CRASH', p.returncode, d, cmd, err[:300]); shutil.copytree(d, '/tmp/fz/keep_%d' % r, dirs_exist_ok=True)
    shutil.rmtree(d)  # the listing stays one row long
print('runs', runs, 'crash', crash, 'hang', hang, 'big', big)
print(codes)
