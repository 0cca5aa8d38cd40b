#!/usr/bin/python3
"""The news admin site as deployed (deploy/local-server: nginx + php-fpm on
127.0.0.1) on the database of ZOLT_NEWS_DSN (run inside with-news-db), driven
by headless Chromium. `flow`: a reseller writes, previews, publishes, edits and
deletes a message, and the program's own requests see each step. `security`:
one table of what an attacker tries. ZOLT_SCREENSHOT=FILE saves the edit page."""
import html, http.client, os, re, shutil, socket, subprocess, sys, tempfile, time, urllib.parse
from concurrent.futures import ThreadPoolExecutor
from datetime import date
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

NEWS = os.path.realpath(os.path.join(os.path.dirname(__file__), '../../server/news'))
failures = []


def admin(*args, stdin=''):
    r = subprocess.run(['php', f'{NEWS}/admin.php', *args], input=stdin if isinstance(stdin, bytes) else stdin.encode(),
                       capture_output=True, timeout=60)
    assert r.returncode == 0, f'admin.php {args}: {r.stderr.decode()}'
    return r.stdout.decode().strip()


def sql(statement):
    """Changes the database behind the site's back, as time passing would."""
    subprocess.run(['php', '-r', '(new PDO(getenv("ZOLT_NEWS_DSN"), getenv("ZOLT_NEWS_DB_USER") ?: null, '
                    'getenv("ZOLT_NEWS_DB_PASSWORD") ?: null))->exec($argv[1]);', statement], check=True, timeout=60)


class HeldNews:
    """A transaction that makes every writer of the news table wait, as a slow one would, until as many
    requests wait as the workers can serve; then they all go at once. (SQLite shows no waiting writers: there
    the requests simply run in parallel.)"""
    DRIVER = os.environ.get('ZOLT_NEWS_DSN', 'sqlite').split(':')[0]
    HOLD = {'pgsql': 'BEGIN; LOCK TABLE news IN EXCLUSIVE MODE',
            'mysql': 'BEGIN; SELECT MAX(news_id) FROM news FOR UPDATE'}.get(DRIVER)
    WAITING = {'pgsql': "SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock'",
               'mysql': "SELECT count(*) FROM information_schema.processlist WHERE info LIKE 'INSERT INTO news %'"
                        " OR info LIKE 'UPDATE news_high_water %'"}.get(DRIVER)
    PDO = '$d = new PDO(getenv("ZOLT_NEWS_DSN"), getenv("ZOLT_NEWS_DB_USER") ?: null, getenv("ZOLT_NEWS_DB_PASSWORD") ?: null);'

    def __enter__(self):
        self.holder = None
        if self.HOLD:
            self.holder = subprocess.Popen(['php', '-r', self.PDO + ' foreach (explode("; ", $argv[1]) as $q) '
                                            '{ $d->query($q)->fetchAll(); } echo "held\\n"; fgets(STDIN); $d->exec("COMMIT");',
                                            self.HOLD], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
            assert self.holder.stdout.readline() == b'held\n'
        return self

    def release_when_waiting(self, count):
        if self.holder:
            deadline = time.monotonic() + 30
            while time.monotonic() < deadline and int(subprocess.run(['php', '-r', self.PDO + ' echo $d->query($argv[1])'
                                                                      '->fetchColumn();', self.WAITING],
                                                                     capture_output=True).stdout or 0) < count:
                time.sleep(0.05)
            self.__exit__()

    def __exit__(self, *exc):
        if self.holder:
            self.holder.communicate(b'\n', timeout=60)
            self.holder = None


def parallel(calls):
    with ThreadPoolExecutor(len(calls)) as pool:
        return list(pool.map(lambda call: call(), calls))


def check(name, ok, detail=''):
    print(('ok   ' if ok else 'FAIL ') + name + ('' if ok else f': {detail}'))
    if not ok:
        failures.append(name)


class Client:
    """HTTP with a cookie jar, from a chosen loopback address, redirects not followed."""

    def __init__(self, base, source='127.0.0.1'):
        self.url, self.source, self.cookies = urllib.parse.urlsplit(base), source, {}

    def send(self, method, path, fields=None):
        c = http.client.HTTPConnection(self.url.hostname, self.url.port, timeout=30, source_address=(self.source, 0))
        headers = {'Cookie': '; '.join(f'{k}={v}' for k, v in self.cookies.items())}
        body = None if fields is None else urllib.parse.urlencode(fields, doseq=True)
        if body is not None:
            headers['Content-Type'] = 'application/x-www-form-urlencoded'
        c.request(method, path, body, headers)
        r = c.getresponse()
        self.reply = r
        for line in r.headers.get_all('Set-Cookie') or []:
            name, value = line.split(';')[0].split('=', 1)
            self.cookies[name] = value
            if 'Max-Age=0' in line:
                del self.cookies[name]
        return r.status, r.read().decode('utf-8', 'replace')

    def token(self, path='/edit.php'):
        return re.search(r'name="csrf" value="([^"]+)"', self.send('GET', path)[1]).group(1)

    def sign_in(self, user, password):
        return self.send('POST', '/signin.php', {'csrf': self.token('/signin.php'), 'user': user, 'password': password})

    def signing_in(self, user, password):
        """The sign-in, its form already fetched, to send later."""
        fields = {'csrf': self.token('/signin.php'), 'user': user, 'password': password}
        return lambda: self.send('POST', '/signin.php', fields)[0]

    def clone(self):
        twin = Client(urllib.parse.urlunsplit(self.url), self.source)
        twin.cookies = dict(self.cookies)
        return twin

    def edit_form(self, news_id=''):
        return form_of(self.send('GET', f'/edit.php?id={news_id}')[1])

    def save(self, form, **fields):
        """Sends an edit form; the new message's id (or the page when it was not saved)."""
        status, page = self.send('POST', '/edit.php', {**form, 'product': '*', 'date': 'd', 'body': '<p>x</p>',
                                                       'save': '1', **fields})
        return (status, self.reply.getheader('Location', '').partition('id=')[2]) if status == 303 else (status, page)


def form_of(page):
    return dict(re.findall(r'name="(csrf|id|version)" value="([^"]*)"', page))


def news_request(base, script, fourth, publisher='PUBA'):
    """The form the program posts, multipart, field by field."""
    fields = [('memusername', publisher), ('prodcode', 'BRAND1'), ('prodtype', 'BG'), fourth,
              ('newstarget', 'UA'), ('something', '')]
    body = b''.join(b'--zb\r\nContent-Disposition: form-data; name="%s"\r\n\r\n%s\r\n' % (k.encode(), v.encode())
                    for k, v in fields) + b'--zb--\r\n'
    u = urllib.parse.urlsplit(base)
    c = http.client.HTTPConnection(u.hostname, u.port, timeout=30)
    c.request('POST', '/' + script, body, {'Content-Type': 'multipart/form-data; boundary=zb',
                                           'User-Agent': 'Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)'})
    return c.getresponse().read()


def lastcode(base, publisher='PUBA'):
    return news_request(base, 'getlastnews.php', ('conttype', 'lastcode'), publisher)


def browser(tmp):
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for arg in ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                '--disable-background-networking', '--disable-component-update', '--disable-sync',
                f'--user-data-dir={tmp}/chromium', '--window-size=1100,760']:
        options.add_argument(arg)
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


def browser_sign_in(driver, site, user, password):
    driver.get(site + 'signin.php')
    driver.find_element(By.ID, 'user').send_keys(user)
    driver.find_element(By.ID, 'password').send_keys(password)
    driver.find_element(By.CSS_SELECTOR, 'main button[type=submit]').click()
    WebDriverWait(driver, 30).until(lambda d: d.current_url.endswith('/index.php'))


def flow(base, site, driver):
    other = admin('add-news', 'PUBB', 'BRAND1', 'Of another publisher', '', '-', stdin='<p>b</p>')
    browser_sign_in(driver, site, 'alice', 'alice-password')
    driver.find_element(By.LINK_TEXT, 'Write a message').click()
    check('the date is today by default', driver.find_element(By.ID, 'date').get_attribute('value')
          == date.today().isoformat())
    body = '<h2>Spring offer</h2><p>Half price until <b>May</b>.</p>'
    driver.find_element(By.ID, 'title').send_keys('Spring offer')
    Select(driver.find_element(By.ID, 'product')).select_by_visible_text('BRAND1')
    driver.find_element(By.ID, 'body').send_keys(body)
    driver.find_element(By.XPATH, '//button[text()="Preview"]').click()
    driver.switch_to.frame('preview')
    heading = WebDriverWait(driver, 30).until(lambda d: d.find_elements(By.TAG_NAME, 'h2'))
    check('the preview shows the body', heading[0].text == 'Spring offer', heading[0].text)
    driver.switch_to.default_content()
    if os.environ.get('ZOLT_SCREENSHOT'):
        driver.execute_script('window.scrollTo(0, 0)')
        driver.save_screenshot(os.environ['ZOLT_SCREENSHOT'])
    driver.find_element(By.XPATH, '//button[text()="Publish"]').click()
    notice = WebDriverWait(driver, 30).until(lambda d: d.find_elements(By.CLASS_NAME, 'notice'))[0].text
    new_id = int(other) + 1
    check('published with the next id', f'Message {new_id} is published' in notice, notice)
    check('the program is told of it', lastcode(base) == f'{new_id}^Spring offer\xafOK'.encode('latin-1'),
          lastcode(base))
    details = news_request(base, 'getnewsdetails.php', ('newsid', str(new_id)))
    check('the program gets the body', details == ''.join(
        c if c.isalnum() else '$%02X' % ord(c) for c in body).encode() + b'\xafOK', details)
    driver.find_element(By.CSS_SELECTOR, f'a[href="edit.php?id={new_id}"]').click()
    title = driver.find_element(By.ID, 'title')
    title.clear()
    title.send_keys('Spring offer, extended')
    driver.find_element(By.XPATH, '//button[text()="Save"]').click()
    WebDriverWait(driver, 30).until(lambda d: d.find_elements(By.CLASS_NAME, 'notice'))
    check('an edit keeps the id', lastcode(base) == f'{new_id}^Spring offer, extended\xafOK'.encode('latin-1'), lastcode(base))
    driver.find_element(By.CSS_SELECTOR, f'a[href="delete.php?id={new_id}"]').click()
    check('delete asks once more', lastcode(base) != b'OK')
    driver.find_element(By.XPATH, '//main//button[text()="Delete"]').click()
    WebDriverWait(driver, 30).until(lambda d: d.find_elements(By.CLASS_NAME, 'notice'))
    check('deleted', lastcode(base) == b'OK' and 'No messages yet' in driver.page_source, lastcode(base))
    check('the other publisher keeps its message', lastcode(base, 'PUBB').startswith(f'{other}^'.encode()))
    latin = admin('add-news', 'PUBA', 'BRAND1', 'Latin', '', '-', stdin=b'<p>Caf\xe9 \x80 \x81</p>\n<p>two</p>\n')
    before = news_request(base, 'getnewsdetails.php', ('newsid', latin))
    driver.get(f'{site}edit.php?id={latin}')
    driver.find_element(By.XPATH, '//button[text()="Save"]').click()
    WebDriverWait(driver, 30).until(lambda d: d.find_elements(By.CLASS_NAME, 'notice'))
    check('a Windows-1252 body saved back unchanged keeps its bytes', b'$E9$20$80$20$81' in before
          and news_request(base, 'getnewsdetails.php', ('newsid', latin)) == before)


def security(base, site, driver):
    other = admin('add-news', 'PUBB', 'BRAND1', 'Bob news', '', '-', stdin='<p>b</p>')
    alice = Client(site)
    pre = alice.token('/signin.php')
    status, _ = alice.sign_in('alice', 'alice-password')
    flags = alice.reply.getheader('Set-Cookie', '')
    token = alice.token()
    item = {'title': 'T', 'date': 'd', 'product': '*', 'body': '<p>x</p>', 'save': '1', 'id': ''}
    hostile = '<script>alert(1)</script>"\'&'
    rows = [
        ('sign-in: new session id, HttpOnly, SameSite=Strict',
         lambda: status == 303 and pre not in alice.cookies.values() and 'HttpOnly' in flags and 'SameSite=Strict' in flags),
        ('under https: Secure, __Host- and HSTS', https_cookie),
        ('form without a token refused', lambda: alice.send('POST', '/edit.php', item)[0] == 403),
        ('form with a wrong token refused', lambda: alice.send('POST', '/edit.php', {**item, 'csrf': pre})[0] == 403),
        ('delete without a token refused', lambda: alice.send('POST', '/delete.php', {'id': other})[0] == 403),
        ('sign-in without a token refused',
         lambda: Client(site).send('POST', '/signin.php', {'user': 'alice', 'password': 'alice-password'})[0] == 403),
        ('nothing stored by refused forms', lambda: lastcode(base) == b'OK'),
        ("another publisher's id: read", lambda: [alice.send('GET', p + other)[0] for p in
                                                  ['/edit.php?id=', '/preview.php?id=', '/delete.php?id=']] == [404] * 3),
        ("another publisher's id: edit",
         lambda: alice.send('POST', '/edit.php', {**item, 'csrf': token, 'id': other})[0] == 404
         and b'Bob news' in lastcode(base, 'PUBB')),
        ("another publisher's id: delete", lambda: alice.send('POST', '/delete.php', {'csrf': token, 'id': other})[0]
         == 404 and b'Bob news' in lastcode(base, 'PUBB')),
        ('a field sent as a list: refused, nothing revealed',
         lambda: (lambda r: r[0] == 400 and NEWS not in r[1] and 'Warning' not in r[1])(
             alice.send('POST', '/edit.php', {**item, 'csrf': token, 'title[]': 'x'}))),
        ('hostile title escaped in the list', lambda: alice.send('POST', '/edit.php', {
            **item, 'csrf': token, 'title': hostile, 'body': f'<p id="b">x</p><script>document.getElementById("b")'
            f'.textContent="ran"</script><img src=x onerror="document.body.id=\'ran\'">{hostile}'})[0] == 303
         and '&lt;script&gt;alert(1)&lt;/script&gt;&quot;&apos;&amp;' in alice.send('GET', '/index.php')[1]
         and '<script>alert' not in alice.send('GET', '/index.php')[1]),
        ('no script runs in the preview', lambda: preview_is_inert(driver, site)),
        ('headers on every page', lambda: all(headers_ok(alice, p) for p in
                                              ['/signin.php', '/index.php', '/edit.php', '/admin.css', '/x.php', '/'])),
        ('the preview: sandboxed, no script', lambda: 'sandbox' in preview_policy(alice)
         and 'script-src' not in preview_policy(alice) and "default-src 'none'" in preview_policy(alice)),
        ('same answer for an unknown name', lambda: refusal(site, 'nobody') == refusal(site, 'alice')),
        ('sixth wrong password for a name slowed', lambda: slowed(site, ['carol'] * 5, '127.0.0.11', 'carol')),
        ('sixth wrong password from an address slowed',
         lambda: slowed(site, [f'ghost{i}' for i in range(5)], '127.0.0.20', 'dave')),
    ]
    for name, row in rows:
        try:
            check(name, row())
        except Exception as e:  # a row that throws fails alone
            check(name, False, repr(e))
    for scenario in [guessing, session_idle, two_admins, what_a_message_holds]:
        try:
            scenario(base, site)
        except Exception as e:
            check(scenario.__name__, False, repr(e))


def guessing(base, site):
    """Guesses at once for one name from many addresses: five passwords are checked, then one per wait. A
    browser that signed in to the name before keeps an allowance of its own, and it has a limit too."""
    before = Client(site, '127.0.0.60')
    before.sign_in('erin', 'erin-password')
    device = {k: v for k, v in before.cookies.items() if 'device' in k}
    burst = lambda n, first: sorted(parallel([Client(site, f'127.0.1.{first + i}').signing_in(
        'erin', 'wrong-password') for i in range(n)]))
    first = burst(40, 1)
    check('40 wrong passwords at once: 5 checked', first == [401] * 5 + [429] * 35, first)
    sql('UPDATE sign_in_attempts SET locked_until = 0')
    second = burst(30, 50)
    check('once the wait is over, 30 at once: 1 checked', second == [401] + [429] * 29, second)
    check('the right password waits too', Client(site, '127.0.1.90').sign_in('erin', 'erin-password')[0] == 429)
    check('a password over 4096 bytes: refused with a sentence, not cut',
          (lambda r: r[0] == 400 and '4097 bytes' in r[1])(Client(site, '127.0.0.63').sign_in('erin', 'x' * 4097)))
    known = Client(site, '127.0.0.61')
    known.cookies.update(device)
    check('the browser that signed in before still signs in', known.sign_in('erin', 'erin-password')[0] == 303)
    guesser = Client(site, '127.0.0.62')
    guesser.cookies.update({k: v for k, v in known.cookies.items() if 'device' in k})
    own = [guesser.sign_in('erin', 'wrong-password')[0] for _ in range(6)]
    check('its own allowance has a limit', own == [401] * 5 + [429], own)


def session_idle(base, site):
    frank = Client(site, '127.0.0.70')
    frank.sign_in('frank', 'frank-password')
    seen = []
    for minutes in [29, 31]:
        sql(f"UPDATE admin_sessions SET seen_at = seen_at - {minutes * 60} WHERE user_name = 'frank'")
        seen.append(frank.send('GET', '/index.php')[0])
    check('a session idle 29 minutes stays signed in, one idle 31 minutes not', seen == [200, 303], seen)


def two_admins(base, site):
    """Alice and Carol write for the same publisher at the same time."""
    alice, carol = Client(site, '127.0.0.71'), Client(site, '127.0.0.72')
    alice.sign_in('alice', 'alice-password')
    carol.sign_in('carol', 'carol-password')
    newest = carol.save(carol.edit_form(), title='Newest')[1]
    stale = alice.edit_form(newest)
    carol.send('POST', '/delete.php', {'csrf': carol.edit_form()['csrf'], 'id': newest})
    replacement = carol.save(carol.edit_form(), title='Replacement')[1]
    check('the id of a deleted newest message is not taken again', int(replacement) == int(newest) + 1,
          (newest, replacement))
    status, page = alice.save(stale, title='Stale')
    check('saving a message deleted since: refused, says so, overwrites nothing', status == 409
          and 'was deleted after you opened it' in page and lastcode(base) == f'{replacement}^Replacement'.encode() + b'\xafOK')
    mine, theirs = alice.edit_form(replacement), carol.edit_form(replacement)
    carol.save(theirs, title='Carol was here')
    status, page = alice.save(mine, title='Alice', date='today')
    check('saving a message changed since: refused, says what changed', status == 409
          and '(its title changed)' in page and b'Carol was here' in lastcode(base), page[-600:])
    check('saved again from that page: replaced', alice.save(form_of(page), title='Alice')[0] == 303
          and b'^Alice\xaf' in lastcode(base))
    twins = [alice.clone() for _ in range(12)]
    forms = [twin.edit_form() for twin in twins]
    with HeldNews() as held:
        with ThreadPoolExecutor(12) as pool:
            saved = [pool.submit(t.save, f, title=f'At once {i}') for i, (t, f) in enumerate(zip(twins, forms))]
            held.release_when_waiting(8)
            ids = [s.result()[1] for s in saved]
    check('12 messages published at once get 12 ids', len(set(ids)) == 12 and all(i.isdigit() for i in ids), ids)


def what_a_message_holds(base, site):
    alice = Client(site, '127.0.0.73')
    alice.sign_in('alice', 'alice-password')
    page = alice.send('GET', '/edit.php')[1]
    check("the edit page lists only the publisher's products", 'BRAND1' in page and 'EVE-SECRET' not in page)
    rows = [  # title, date, product, and the status with the record the program gets or the page's words
        ('x' + 'é' * 127, 'd', '*', 303, 'x' + 'é' * 127), ('é' * 128, 'd', '*', 422, '256 bytes long'),
        ('t', '1' * 100, '*', 303, 't'), ('t', '1' * 101, '*', 422, '101 bytes long'),
        ('Я и мы', 'd', '*', 303, '&#1071; и мы'), ('这是新闻', 'd', '*', 303, '这&#26159;新闻'),
        ('گزارش', 'd', '*', 303, '&#1711;زارش'), ('a\u202eb', 'd', '*', 422, 'U+202E at character 2'),
        ('Яx^', 'd', '*', 422, '"^" at character 3'), ('t', '\u2028', '*', 422, 'U+2028 at character 1'),
        ('t', 'd', 'EVE-SECRET-BRAND', 422, 'no such product'),
    ]
    for title, date, product, status, shown in rows:
        got, result = alice.save(alice.edit_form(), title=title, date=date, product=product)
        check(f'title {title[:12]!r}, date {date[:12]!r}: {status}', got == status and (
            lastcode(base) == f'{result}^{shown}'.encode() + b'\xafOK' if status == 303 else shown in html.unescape(result)),
            (got, lastcode(base)))
    body = '</textarea><form id="planted"><button>x</button></form>'
    planted = alice.save(alice.edit_form(), title='Planted', body=body)[1]
    page = alice.send('GET', f'/edit.php?id={planted}')[1]
    check('a body is escaped inside the textarea', 'id="planted"' not in page and html.escape(body) in page)


def preview_is_inert(driver, site):
    browser_sign_in(driver, site, 'alice', 'alice-password')
    driver.find_element(By.CSS_SELECTOR, 'a[href^="edit.php?id="]').click()
    driver.switch_to.frame('preview')
    text = WebDriverWait(driver, 30).until(lambda d: d.find_elements(By.ID, 'b'))[0].text
    ran = driver.find_element(By.TAG_NAME, 'body').get_attribute('id')
    driver.switch_to.default_content()
    return text == 'x' and ran != 'ran'


def https_cookie():
    with socket.create_server(('127.0.0.1', 0)) as probe:
        port = probe.getsockname()[1]
    server = subprocess.Popen(['php', '-S', f'127.0.0.1:{port}', f'{os.path.dirname(__file__)}/fixtures/https_router.php'],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        client = Client(f'http://127.0.0.1:{port}/')
        for _ in range(500):  # until it listens, at most 10 s
            try:
                client.send('GET', '/signin.php')
                break
            except OSError:
                time.sleep(0.02)
        cookie = client.reply.getheader('Set-Cookie', '')
        return (cookie.startswith('__Host-') and '; secure' in cookie.lower() and 'HttpOnly' in cookie
                and client.reply.getheader('Strict-Transport-Security', '') != '')
    finally:
        server.terminate()
        server.wait()


def refusal(site, user):
    status, page = Client(site).sign_in(user, 'x' * 12)
    return status, re.search(r'role="alert">([^<]*)<', page).group(1)


def headers_ok(client, path):
    client.send('GET', path)
    h = client.reply.headers
    return ("frame-ancestors 'none'" in h.get('Content-Security-Policy', '') and
            h.get('X-Content-Type-Options') == 'nosniff' and h.get('Referrer-Policy') == 'no-referrer')


def preview_policy(client):
    client.send('POST', '/preview.php', {'csrf': client.token(), 'body': '<p>x</p>'})
    return client.reply.getheader('Content-Security-Policy', '')


def slowed(site, names, address, victim):
    """Five failures (one address per try for a name), then a sixth try with the right password is refused."""
    spread = len(set(names)) == 1
    for i, name in enumerate(names):
        if Client(site, f'127.0.0.{30 + i}' if spread else address).sign_in(name, 'wrong-password')[0] != 401:
            return False
    sixth = Client(site, '127.0.0.40' if spread else address)
    status, page = sixth.sign_in(names[0] if spread else victim, f'{victim}-password')
    elsewhere = Client(site, '127.0.0.41').sign_in(victim, f'{victim}-password')[0]
    return (status == 429 and int(sixth.reply.getheader('Retry-After', '0')) > 0 and 'Too many' in page
            and elsewhere == (429 if spread else 303))


def main():
    part = sys.argv[1]
    tmp = tempfile.mkdtemp(prefix='zolt-news-admin-')
    os.chmod(tmp, 0o755)
    driver = None
    try:
        admin('init')
        for pub in ['PUBA', 'PUBB']:
            admin('add-publisher', pub, 'Gold')
        for pub in ['PUBA', 'PUBB']:
            admin('add-product', 'BRAND1', pub)
        admin('add-product', 'EVE-SECRET-BRAND', 'PUBB')
        for user, pub in [('alice', 'PUBA'), ('bob', 'PUBB'), ('carol', 'PUBA'), ('dave', 'PUBB'), ('erin', 'PUBA'),
                          ('frank', 'PUBA')]:
            admin('add-account', user, pub, stdin=f'{user}-password\n')
        urls = subprocess.run([f'{NEWS}/deploy/local-server', 'start', f'{tmp}/server', '--admin'],
                              capture_output=True, timeout=60, check=True).stdout.decode().split()
        driver = browser(tmp)
        {'flow': flow, 'security': security}[part](urls[0], urls[1], driver)
    finally:
        if driver:
            driver.quit()
        subprocess.run([f'{NEWS}/deploy/local-server', 'stop', f'{tmp}/server'], timeout=60)
        shutil.rmtree(tmp, ignore_errors=True)
    print(f'{len(failures)} failed')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
