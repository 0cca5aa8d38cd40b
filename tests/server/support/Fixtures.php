<?php
// Real parts for the server tests: temporary folders, PHP's built-in web
// server on a free 127.0.0.1 port, the php command line, and HTTP requests.

declare(strict_types=1);

/** A temporary folder, removed with everything in it when the object goes. */
final class TempDir
{
    public readonly string $path;

    public function __construct()
    {
        $base = sys_get_temp_dir() . '/zolt-php-test-' . bin2hex(random_bytes(6));
        if (!mkdir($base, 0700)) {
            throw new RuntimeException("cannot create $base");
        }
        $this->path = $base;
    }

    public function __destruct()
    {
        self::remove($this->path);
    }

    public static function remove(string $path): void
    {
        if (is_dir($path) && !is_link($path)) {
            @chmod($path, 0700);
            foreach (scandir($path) as $entry) {
                if ($entry !== '.' && $entry !== '..') {
                    self::remove("$path/$entry");
                }
            }
            @rmdir($path);
        } elseif (file_exists($path) || is_link($path)) {
            @unlink($path);
        }
    }
}

/** Polls $condition until it holds or the deadline passes. */
function wait_until(callable $condition, float $seconds): bool
{
    $deadline = microtime(true) + $seconds;
    do {
        if ($condition()) {
            return true;
        }
        usleep(20000);
    } while (microtime(true) < $deadline);
    return (bool)$condition();
}

function free_port(): int
{
    $probe = stream_socket_server('tcp://127.0.0.1:0', $errno, $errstr);
    if ($probe === false) {
        throw new RuntimeException("no free port: $errstr");
    }
    $name = stream_socket_get_name($probe, false);
    fclose($probe);
    return (int)substr($name, strrpos($name, ':') + 1);
}

/** `php -S` on 127.0.0.1 (or $host), started by the constructor, stopped by stop() or the destructor. */
final class PhpServer
{
    public readonly int $port;
    private $process;
    private string $logFile;

    public function __construct(string $docRoot, ?string $router = null, array $env = [],
        public readonly string $host = '127.0.0.1')
    {
        $this->logFile = tempnam(sys_get_temp_dir(), 'zolt-php-server-log');
        // The port can be taken between the probe and PHP's bind: try again.
        for ($attempt = 0; $attempt < 5; $attempt++) {
            $port = free_port();
            // A session of its own, so that stop() ends the workers that
            // PHP_CLI_SERVER_WORKERS forks along with the server.
            $cmd = array_merge(['setsid', PHP_BINARY, '-S', "$host:$port", '-t', $docRoot],
                $router !== null ? [$router] : []);
            $log = fopen($this->logFile, 'ab');
            $this->process = proc_open($cmd, [0 => ['file', '/dev/null', 'r'], 1 => $log, 2 => $log], $pipes, null,
                array_merge(getenv(), $env));
            fclose($log);
            if (!is_resource($this->process)) {
                continue;
            }
            $up = wait_until(fn(): bool => !$this->running() || self::accepts($host, $port), 10.0);
            if ($up && $this->running()) {
                $this->port = $port;
                return;
            }
            $this->stop();
        }
        throw new RuntimeException('php -S did not start: ' . $this->log());
    }

    public function __destruct()
    {
        $this->stop();
        @unlink($this->logFile);
    }

    public function url(string $path = ''): string
    {
        return "http://{$this->host}:{$this->port}/" . ltrim($path, '/');
    }

    public function log(): string
    {
        return (string)@file_get_contents($this->logFile);
    }

    public function stop(): void
    {
        if (is_resource($this->process)) {
            $pid = proc_get_status($this->process)['pid'];
            if (function_exists('posix_kill')) {
                posix_kill(-$pid, SIGTERM);
            }
            proc_terminate($this->process);
            proc_close($this->process);
        }
        $this->process = null;
    }

    private function running(): bool
    {
        return is_resource($this->process) && proc_get_status($this->process)['running'];
    }

    private static function accepts(string $host, int $port): bool
    {
        $s = @stream_socket_client("tcp://$host:$port", $errno, $errstr, 0.2);
        if ($s === false) {
            return false;
        }
        fclose($s);
        return true;
    }
}

/** Runs the php command line; returns [exit code, stdout, stderr]. */
function run_php(array $args, string $stdin = '', array $env = [], ?string $cwd = null): array
{
    $process = proc_open(array_merge([PHP_BINARY], $args), [0 => ['pipe', 'r'], 1 => ['pipe', 'w'], 2 => ['pipe', 'w']],
        $pipes, $cwd, array_merge(getenv(), $env));
    fwrite($pipes[0], $stdin);
    fclose($pipes[0]);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    fclose($pipes[1]);
    fclose($pipes[2]);
    return [proc_close($process), $out, $err];
}

/** An HTTP request through curl; returns [status, body] with status 0 when it failed. */
function http_request(string $url, ?array $multipart = null, string $method = 'POST'): array
{
    $ch = curl_init($url);
    curl_setopt_array($ch, [CURLOPT_RETURNTRANSFER => true, CURLOPT_TIMEOUT => 20]);
    if ($multipart !== null) {
        curl_setopt($ch, CURLOPT_POSTFIELDS, $multipart);
    } elseif ($method !== 'GET') {
        curl_setopt($ch, CURLOPT_CUSTOMREQUEST, $method);
    }
    $body = curl_exec($ch);
    $status = (int)curl_getinfo($ch, CURLINFO_RESPONSE_CODE);
    curl_close($ch);
    return [$body === false ? 0 : $status, $body === false ? '' : $body];
}
