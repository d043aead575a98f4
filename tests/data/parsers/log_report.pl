    my ($self, $file) = @_;
    open(my $fh, "<", $file) or die "cannot open $file: $!";
    my %count;
    LINE: while (my $line = <$fh>) {
        chomp $line;
        next LINE if $line =~ /^\s*#/;
        last if $line eq "__END__";
        $line =~ s/\s+$//;
        my ($level, $text) = split(/:\s*/, $line, 2);
        unless (defined $text) {
            warn "odd line: $line\n";
            next;
        }
        if ($level eq "ERROR") {
            $count{error}++;
        } elsif ($level eq "WARN") {
            $count{warn}++;
        } else {
            $count{other}++;
        }
    } continue {
        $self->{lines}++;
    }
    close($fh);

=head2 Report

The summary goes to standard output { with braces }.

=cut

    print <<EOT;
Errors:   $count{error}
Warnings: $count{warn}
EOT
    my $left = 3;
    do {
        $left--;
    } until ($left <= 0 || $self->flush);
    return \%count;
}
