#!/usr/bin/perl
# Gives entry INDEX of the archive inside FILE a new name, in place, and
# writes the checksum again: the way to make an archive with a name that
# kivopack itself refuses to pack.
#   rename_entry.pl FILE INDEX NAME
use strict;
use warnings;

my ($path, $index, $name) = @ARGV;
die "usage: rename_entry.pl FILE INDEX NAME\n" unless defined $name && length($name) < 260;
open(my $fh, '+<:raw', $path) or die "$path: $!\n";
local $/;
my $data = <$fh>;
my $signature = pack('V2', 0x80FF81FE, 0x82FD83FC);
my $start = index($data, $signature);
die "$path: no archive\n" if $start < 0;
my $count = unpack('V', substr($data, $start + 12, 4));
die "$path: no entry $index\n" if $index >= $count;

substr($data, $start + 800 + 308 * $index, 260) = pack('a260', $name);

# Each byte, sign-extended, is XORed into the sum rotated left by one bit.
my $sum = 0;
for my $byte (unpack('c*', substr($data, $start + 800))) {
  $sum = ((($sum << 1) | ($sum >> 31)) & 0xFFFFFFFF) ^ ($byte & 0xFFFFFFFF);
}
substr($data, $start + 284, 4) = pack('V', $sum);

seek($fh, 0, 0) or die "$path: $!\n";
print $fh $data or die "$path: $!\n";
close($fh) or die "$path: $!\n";
